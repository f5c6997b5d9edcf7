#!/usr/bin/python3
"""Checks the WS-Management test server's Kerberos with Debian's python3-winrm client.

    winrm_kerberos_check.py DOMAIN_FOLDER

Runs against the test domain that tests/support/test_domain.py made in DOMAIN_FOLDER,
inside its network namespace: the client gets a ticket for HTTP/srv-archive.<domain> from the
domain's KDC (python3-requests-kerberos), signs in to the server, which holds that service's
keytab, and runs WQL enumerations with sealed bodies over plain HTTP (pywinrm's own framing of
the Kerberos wrap) and over HTTPS with the certificate's channel binding, which a server set to
strict demands; a ticket for another node's service is refused. Debian's python3-kerberos is
too old for the wrap and the binding: pykerberos_on_gssapi.py makes its calls on python3-gssapi. Exits 0 with a message when there is no test domain here (no root
or namespaces).
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "remote"))
sys.path.insert(0, HERE)

NODE = "SRV-ARCHIVE"


def read_env(folder):
    values = {}
    try:
        with open(os.path.join(folder, "domain.env"), encoding="utf-8") as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("=")
                values[key] = value
    except OSError as e:
        values["UNAVAILABLE"] = "the test domain was not made (%s)" % e.strerror
    return values


def in_namespace(env):
    """Runs this check again inside the domain's namespace; its exit status."""
    child = dict(os.environ, KRB5_CONFIG=env["KRB5_CONFIG"], VORLU_IN_DOMAIN="1")
    return subprocess.run(["ip", "netns", "exec", env["NAMESPACE"], "/usr/bin/python3"] + sys.argv,
                          env=child).returncode


def main():
    env = read_env(sys.argv[1])
    if "UNAVAILABLE" in env:
        print("skipped: " + env["UNAVAILABLE"])
        return 0
    if not os.environ.get("VORLU_IN_DOMAIN"):
        return in_namespace(env)

    import pykerberos_on_gssapi
    sys.modules["kerberos"] = pykerberos_on_gssapi  # before requests-kerberos is imported
    import winrm_client_check as common  # sets up its work folder and the client's OpenSSL
    from winrm.protocol import Protocol

    # The client's ticket goes to a cache of this check's own, never the user's.
    os.environ["KRB5CCNAME"] = "FILE:" + os.path.join(common.WORK.name, "ccache")
    principal = "%s@%s" % (env["ADMIN"], env["REALM"])
    subprocess.run(["kinit", principal], input=env["ADMIN_PASSWORD"] + "\n", text=True, check=True,
                   capture_output=True, timeout=30)
    keytab = env["NODE_%s_KEYTAB" % NODE.replace("-", "_")]
    host = "%s.%s" % (NODE.lower(), env["DNS_DOMAIN"])

    def kerberos_with_encryption():
        with common.Server("--auth", "kerberos", "--keytab", keytab) as server:
            endpoint = "http://127.0.0.1:%d/wsman" % server.port
            protocol = Protocol(endpoint, transport="kerberos", username=principal,
                                kerberos_hostname_override=host, message_encryption="always")
            released = common.run_queries(protocol, endpoint)
            log = server.requests()
            common.check(protocol.transport.encryption is not None, "the client did not seal its messages")
            common.check(log.count("AUTH kerberos ok user=%s" % principal) == 1,
                         "one Kerberos sign-in expected:\n" + log)
            common.check("REFUSED" not in log, "the server refused a message:\n" + log)
            common.check("Release context=%s known=yes" % released in log, "the Release was not recorded:\n" + log)

    def strict_channel_binding_over_https():
        ca, cert, key = common.make_certificates()
        with common.Server("--auth", "kerberos", "--keytab", keytab, "--https", cert, key,
                           "--channel-binding", "strict") as server:
            endpoint = "https://127.0.0.1:%d/wsman" % server.port
            bound = Protocol(endpoint, transport="kerberos", username=principal, kerberos_hostname_override=host,
                             server_cert_validation="validate", ca_trust_path=ca, send_cbt=True)
            common.run_queries(bound, endpoint)
            unbound = Protocol(endpoint, transport="kerberos", username=principal, kerberos_hostname_override=host,
                               server_cert_validation="validate", ca_trust_path=ca, send_cbt=False)
            try:
                common.query(unbound, endpoint, "SELECT * FROM Win32_CDROMDrive")
            except Exception:
                pass
            else:
                raise AssertionError("strict channel binding let in a sign-in without it")
            log = server.requests()
            common.check(log.count("AUTH kerberos ok") >= 1, "the bound sign-in was refused:\n" + log)
            common.check("AUTH kerberos refused: no channel binding (strict)" in log,
                         "the unbound sign-in was not refused for its binding:\n" + log)

    def wrong_service_refused():
        # A ticket for another node's service does not open this one.
        with common.Server("--auth", "kerberos", "--keytab", keytab, "--allow-unencrypted") as server:
            endpoint = "http://127.0.0.1:%d/wsman" % server.port
            other = "ws-lab-07." + env["DNS_DOMAIN"]
            protocol = Protocol(endpoint, transport="kerberos", username=principal,
                                kerberos_hostname_override=other, message_encryption="never")
            try:
                common.query(protocol, endpoint, "SELECT * FROM Win32_CDROMDrive")
            except Exception:
                pass
            else:
                raise AssertionError("a ticket for %s opened %s" % (other, host))
            log = server.requests()
            common.check("AUTH kerberos failed" in log, "no refusal logged:\n" + log)

    return common.run_cases((kerberos_with_encryption, strict_channel_binding_over_https, wrong_service_refused))


if __name__ == "__main__":
    sys.exit(main())
