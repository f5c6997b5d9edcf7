#!/usr/bin/python3
"""Checks the WS-Management test server with Debian's python3-winrm client.

An independent client must get what it expects from the server: NTLM with message
encryption over plain HTTP, Basic over HTTPS with the certificate checked against the test
authority, and NTLM over HTTPS, where the transport protects the body. Each runs WQL
enumerations (Enumerate, Pull until the end, Release of an abandoned one) and checks the
items. Exits non-zero with the reason on any failure.
"""

import os
import select
import subprocess
import sys
import tempfile
import uuid
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "support", "wsman_server.py")

# The client's NTLM takes the MD4 hash from OpenSSL, which keeps it in its legacy
# provider since OpenSSL 3; loaded here, before anything starts OpenSSL.
LEGACY_CONF = """openssl_conf = openssl_init
[openssl_init]
providers = provider_sect
[provider_sect]
default = default_sect
legacy = legacy_sect
[default_sect]
activate = 1
[legacy_sect]
activate = 1
"""
WORK = tempfile.TemporaryDirectory(prefix="winrm-check-")
with open(os.path.join(WORK.name, "openssl.cnf"), "w") as f:
    f.write(LEGACY_CONF)
os.environ["OPENSSL_CONF"] = os.path.join(WORK.name, "openssl.cnf")

try:
    from winrm.protocol import Protocol
except ImportError:
    sys.exit("python3-winrm is missing: install it (make deps)")

DOMAIN, USER, PASSWORD = "SRV-ARCHIVE", "Administrator", "Pa55-w0rd!"
NS = {
    "s": "http://www.w3.org/2003/05/soap-envelope",
    "n": "http://schemas.xmlsoap.org/ws/2004/09/enumeration",
    "w": "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd",
    "xsi": "http://www.w3.org/2001/XMLSchema-instance",
}
CDROM_NS = "http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/Win32_CDROMDrive"
NODE = """{
  "classes": {
    "Win32_CDROMDrive": [
      {"Drive": "D:", "Name": "DVD <RW> & more", "MediaLoaded": true, "Availability": 3, "Caption": null},
      {"Drive": "E:", "Name": "BD-ROM", "MediaLoaded": false, "Availability": 8, "Caption": "E"}
    ],
    "Win32_ComputerSystem": [ {"Name": "SRV-ARCHIVE"} ]
  },
  "itemsPerReply": 1
}"""


def envelope(endpoint, action, body):
    return """<s:Envelope xmlns:s="{s}" xmlns:a="http://schemas.xmlsoap.org/ws/2004/08/addressing"
 xmlns:n="{n}" xmlns:w="{w}"><s:Header><a:To>{to}</a:To>
<w:ResourceURI s:mustUnderstand="true">http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*</w:ResourceURI>
<a:ReplyTo><a:Address s:mustUnderstand="true">http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous</a:Address></a:ReplyTo>
<a:Action s:mustUnderstand="true">http://schemas.xmlsoap.org/ws/2004/09/enumeration/{action}</a:Action>
<a:MessageID>uuid:{mid}</a:MessageID><w:MaxEnvelopeSize s:mustUnderstand="true">153600</w:MaxEnvelopeSize>
<w:OperationTimeout>PT60.000S</w:OperationTimeout><w:Locale xml:lang="en-US" s:mustUnderstand="false"/>
</s:Header><s:Body>{body}</s:Body></s:Envelope>""".format(to=endpoint, action=action, mid=uuid.uuid4(),
                                                          body=body, **NS)


def enumerate_body(query):
    return ('<n:Enumerate><w:OptimizeEnumeration/><w:MaxElements>32000</w:MaxElements>'
            '<w:Filter Dialect="http://schemas.microsoft.com/wbem/wsman/1/WQL">%s</w:Filter></n:Enumerate>' % query)


def context_body(action, context):
    return "<n:%s><n:EnumerationContext>%s</n:EnumerationContext></n:%s>" % (action, context, action)


def item_values(item):
    values = {}
    for child in item:
        name = child.tag.split("}")[-1]
        nil = child.get("{%s}nil" % NS["xsi"]) == "true"
        values[name] = None if nil else (child.text or "")
    return values


def query(protocol, endpoint, text):
    """All items of one WQL query, and how many replies they came in."""
    reply = ET.fromstring(protocol.send_message(envelope(endpoint, "Enumerate", enumerate_body(text))))
    response = reply.find("s:Body/n:EnumerateResponse", NS)
    items = list(response.find("w:Items", NS))
    done = response.find("w:EndOfSequence", NS) is not None
    context = response.findtext("n:EnumerationContext", namespaces=NS)
    replies = 1
    while not done:
        reply = ET.fromstring(protocol.send_message(envelope(endpoint, "Pull", context_body("Pull", context))))
        response = reply.find("s:Body/n:PullResponse", NS)
        items += list(response.find("n:Items", NS))
        done = response.find("n:EndOfSequence", NS) is not None
        context = response.findtext("n:EnumerationContext", namespaces=NS) or context
        replies += 1
    return items, replies


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def run_queries(protocol, endpoint):
    items, replies = query(protocol, endpoint, "SELECT * FROM Win32_CDROMDrive")
    check(replies == 2, "one item per reply expected, got %d replies" % replies)
    check([i.tag for i in items] == ["{%s}Win32_CDROMDrive" % CDROM_NS] * 2, "class elements expected")
    first = item_values(items[0])
    check(first == {"Drive": "D:", "Name": "DVD <RW> & more", "MediaLoaded": "true", "Availability": "3",
                    "Caption": None}, "first drive read back as %r" % first)
    check(item_values(items[1])["MediaLoaded"] == "false", "second drive's MediaLoaded")

    items, _ = query(protocol, endpoint, "SELECT Drive, Caption FROM Win32_CDROMDrive")
    check([i.tag for i in items] == ["{%s}XmlFragment" % NS["w"]] * 2, "XmlFragment items expected")
    check([item_values(i) for i in items] == [{"Drive": "D:", "Caption": None}, {"Drive": "E:", "Caption": "E"}],
          "property list read back as %r" % [item_values(i) for i in items])

    # An enumeration abandoned after its first item is released.
    reply = ET.fromstring(protocol.send_message(envelope(endpoint, "Enumerate",
                                                         enumerate_body("SELECT * FROM Win32_CDROMDrive"))))
    context = reply.findtext("s:Body/n:EnumerateResponse/n:EnumerationContext", namespaces=NS)
    protocol.send_message(envelope(endpoint, "Release", context_body("Release", context)))
    return context


class Server:
    def __init__(self, *options):
        node = os.path.join(WORK.name, "node.json")
        users = os.path.join(WORK.name, "users")
        with open(node, "w") as f:
            f.write(NODE)
        with open(users, "w") as f:
            f.write("%s:%s:%s\n" % (DOMAIN, USER, PASSWORD))
        self.log = open(os.path.join(WORK.name, "server-%s.log" % uuid.uuid4().hex), "w+")
        self.process = subprocess.Popen(["/usr/bin/python3", SERVER, "--node", node, "--users", users] + list(options),
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log, text=True)
        ready, _, _ = select.select([self.process.stdout], [], [], 10)
        line = self.process.stdout.readline() if ready else ""
        if not line.startswith("READY "):
            self.stop()
            raise RuntimeError("the test server did not start: " + self.requests())
        self.port = int(line.split()[1])

    def requests(self):
        self.log.flush()
        self.log.seek(0)
        return self.log.read()

    def stop(self):
        self.process.stdin.close()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(5)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


def make_certificates():
    ext = os.path.join(WORK.name, "server.ext")
    with open(ext, "w") as f:
        f.write("subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n")
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    for args in (["req", "-x509"] + ec + ["-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Test CA",
                                          "-addext", "basicConstraints=critical,CA:TRUE",
                                          "-addext", "keyUsage=critical,keyCertSign,cRLSign"],
                 ["req"] + ec + ["-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=localhost"],
                 ["x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
                  "-out", "server.pem", "-days", "2", "-extfile", ext]):
        subprocess.run(["openssl"] + args, cwd=WORK.name, check=True, capture_output=True, timeout=30)
    return [os.path.join(WORK.name, n) for n in ("ca.pem", "server.pem", "server.key")]


def ntlm_with_encryption():
    with Server("--auth", "ntlm") as server:
        endpoint = "http://127.0.0.1:%d/wsman" % server.port
        protocol = Protocol(endpoint, transport="ntlm", username="%s\\%s" % (DOMAIN, USER), password=PASSWORD,
                            message_encryption="always")
        released = run_queries(protocol, endpoint)
        log = server.requests()
        check(protocol.transport.encryption is not None, "the client did not seal its messages")
        check(log.count("AUTH ntlm ok user=%s\\%s" % (DOMAIN, USER)) == 1, "one NTLM handshake expected:\n" + log)
        check("REFUSED" not in log, "the server refused a message:\n" + log)
        check("Release context=%s known=yes" % released in log, "the Release was not recorded:\n" + log)


def ntlm_wrong_password_refused():
    with Server("--auth", "ntlm") as server:
        endpoint = "http://127.0.0.1:%d/wsman" % server.port
        protocol = Protocol(endpoint, transport="ntlm", username=USER, password="not-" + PASSWORD,
                            message_encryption="always")
        try:
            query(protocol, endpoint, "SELECT * FROM Win32_CDROMDrive")
        except Exception as e:  # the client's own word for a 401
            check("rejected" in str(e), "unexpected failure: %s" % e)
        else:
            raise AssertionError("a wrong password was accepted")


def ntlm_over_https():
    ca, cert, key = make_certificates()
    with Server("--auth", "ntlm", "--https", cert, key) as server:
        endpoint = "https://127.0.0.1:%d/wsman" % server.port
        protocol = Protocol(endpoint, transport="ntlm", username="%s\\%s" % (DOMAIN, USER), password=PASSWORD,
                            server_cert_validation="validate", ca_trust_path=ca)
        run_queries(protocol, endpoint)
        check(protocol.transport.encryption is None, "over HTTPS the transport protects the body")
        check("AUTH ntlm ok" in server.requests(), "NTLM was not used")


def basic_over_https():
    ca, cert, key = make_certificates()
    with Server("--auth", "basic", "--https", cert, key) as server:
        endpoint = "https://127.0.0.1:%d/wsman" % server.port
        protocol = Protocol(endpoint, transport="basic", username=USER, password=PASSWORD,
                            server_cert_validation="validate", ca_trust_path=ca)
        run_queries(protocol, endpoint)
        check("AUTH basic ok user=%s" % USER in server.requests(), "Basic was not used")
        # Without the test authority the certificate must not pass.
        untrusted = Protocol(endpoint, transport="basic", username=USER, password=PASSWORD,
                             server_cert_validation="validate")
        try:
            query(untrusted, endpoint, "SELECT * FROM Win32_CDROMDrive")
        except Exception as e:
            check("certificate" in str(e).lower(), "unexpected failure: %s" % e)
        else:
            raise AssertionError("a certificate of an unknown authority was accepted")


def run_cases(cases):
    """Runs each check, saying how it went; the exit status: 1 when any failed."""
    failed = 0
    for case in cases:
        try:
            case()
            print("ok", case.__name__)
        except Exception as e:
            failed += 1
            print("FAILED %s: %s" % (case.__name__, e))
    return 1 if failed else 0


def main():
    return run_cases((ntlm_with_encryption, ntlm_wrong_password_refused, ntlm_over_https, basic_over_https))


if __name__ == "__main__":
    sys.exit(main())
