#!/usr/bin/python3
"""A WS-Management endpoint that answers WQL enumerations the way a Windows node does.

    wsman_server.py --node NODE.json [--port 0] [--auth ntlm|basic|ntlm,basic|kerberos]
                    [--users USERFILE] [--https CERT.pem KEY.pem] [--allow-unencrypted]

Binds 127.0.0.1, prints one line "READY <port>" when listening and serves HTTP/1.1
keep-alive POST /wsman until SIGTERM or until its stdin closes. Each request is logged to
stderr (authentication, action, query, enumeration context); never a password.

NTLM goes through GSSAPI with the gss-ntlmssp mechanism, which reads the users file
(DOMAIN:user:password lines) through NTLM_USER_FILE; Basic checks the same file. The
handshake authenticates the connection, as on a node. Over plain HTTP a body must be
sealed with the session (multipart/encrypted) unless --allow-unencrypted; an unsealed one
gets 500 with an empty body. Basic cannot seal, so over plain HTTP it needs
--allow-unencrypted too.

NODE.json: "classes" (class name -> rows), "itemsPerReply" (the node's cap on items per
Enumerate / Pull reply; the request's MaxElements, default 1, may lower it), "faults"
(a query text containing "match" gets that fault; keys httpStatus, code, subcode,
wsmanCode, message, providerFault) and "behaviour": normal, slow:<ms>, silent,
malformed, oversized, deep, entities or empty500.
"""

import argparse
import base64
import json
import os
import re
import signal
import socket
import ssl
import struct
import sys
import threading
import time
import uuid
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from xml.etree import ElementTree
from xml.sax.saxutils import escape, quoteattr

NS = {
    "s": "http://www.w3.org/2003/05/soap-envelope",
    "a": "http://schemas.xmlsoap.org/ws/2004/08/addressing",
    "n": "http://schemas.xmlsoap.org/ws/2004/09/enumeration",
    "w": "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd",
    "f": "http://schemas.microsoft.com/wbem/wsman/1/wsmanfault",
    "xsi": "http://www.w3.org/2001/XMLSchema-instance",
}
ENUM_ACTION = NS["n"] + "/"
ANONYMOUS = NS["a"] + "/role/anonymous"
WMI_URI = "http://schemas.microsoft.com/wbem/wsman/1/wmi/"
CIMV2_URI = WMI_URI + "root/cimv2/"
WQL_DIALECT = "http://schemas.microsoft.com/wbem/wsman/1/WQL"
NTLM_OID = "1.3.6.1.4.1.311.2.2.10"
SESSION_PROTOCOL = "application/HTTP-SPNEGO-session-encrypted"
BOUNDARY = b"--Encrypted Boundary"
SEALED_TYPE = 'multipart/encrypted;protocol="%s";boundary="Encrypted Boundary"' % SESSION_PROTOCOL
SOAP_TYPE = "application/soap+xml;charset=UTF-8"
# An NTLM signature is always 16 bytes; gss_wrap puts it before the sealed data.
NTLM_SIGNATURE_LENGTH = 16


def log(text):
    sys.stderr.write(text + "\n")
    sys.stderr.flush()


class Fault(Exception):
    def __init__(self, http_status, code, subcode, wsman_code, message, provider=False):
        super().__init__(message)
        self.http_status = http_status
        self.code = code
        self.subcode = subcode
        self.wsman_code = wsman_code
        self.message = message
        self.provider = provider

    @staticmethod
    def from_json(spec):
        return Fault(spec.get("httpStatus", 500), spec.get("code", "s:Sender"), spec.get("subcode", ""),
                     spec.get("wsmanCode", 0), spec.get("message", ""), spec.get("providerFault", False))


def invalid_query(text):
    return Fault(500, "s:Sender", "w:CannotProcessFilter", 2150858778,
                 "The WS-Management service cannot process the request because the filter is invalid: " + text)


class Node:
    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            spec = json.load(f)
        self.classes = spec.get("classes", {})
        self.items_per_reply = spec.get("itemsPerReply")
        self.faults = spec.get("faults", [])
        self.behaviour = spec.get("behaviour", "normal")
        systems = self.classes.get("Win32_ComputerSystem") or [{}]
        self.machine = str(systems[0].get("Name", "localhost"))
        self.lock = threading.Lock()
        self.enumerations = {}

    def find_class(self, name):
        for key, rows in self.classes.items():
            if key.lower() == name.lower():
                return key, rows
        return None, None

    def query(self, text):
        for spec in self.faults:
            if spec.get("match", "").lower() in text.lower():
                raise Fault.from_json(spec)
        m = re.match(r"^\s*select\s+(.+?)\s+from\s+(\w+)(?:\s+where\s+(.+?))?\s*$", text, re.I | re.S)
        if not m:
            raise invalid_query("the WMI service reported an invalid query (0x80041017).")
        class_name, rows = self.find_class(m.group(2))
        if rows is None:
            raise Fault(500, "s:Sender", "w:CannotProcessFilter", 2150858778,
                        "The WS-Management service cannot process the request. The WMI service "
                        "returned an 'invalid class' error.")
        rows = [r for r in rows if matches(r, m.group(3))]
        props = m.group(1).strip()
        if props == "*":
            return [class_item(class_name, r) for r in rows]
        names = [p.strip() for p in props.split(",")]
        known = {k.lower(): k for r in self.classes[class_name] for k in r}
        for name in names:
            if not re.fullmatch(r"\w+", name) or name.lower() not in known:
                raise invalid_query("the WMI service reported an invalid query (0x80041017).")
        return [fragment_item([(known[n.lower()], lookup(r, n)) for n in names]) for r in rows]

    def start(self, items):
        context = "uuid:" + str(uuid.uuid4()).upper()
        with self.lock:
            self.enumerations[context] = list(items)
        return context

    def take(self, context, count):
        with self.lock:
            items = self.enumerations.get(context)
            if items is None:
                raise Fault(500, "s:Receiver", "n:InvalidEnumerationContext", 2150858843,
                            "The enumeration context supplied in the message is not valid.")
            batch, rest = items[:count], items[count:]
            if rest:
                self.enumerations[context] = rest
            else:
                del self.enumerations[context]
            return batch, not rest

    def release(self, context):
        with self.lock:
            return self.enumerations.pop(context, None) is not None

    def batch_size(self, max_elements):
        size = max_elements if max_elements and max_elements > 0 else 1
        if self.items_per_reply:
            size = min(size, self.items_per_reply)
        return size


def lookup(row, name):
    for key, value in row.items():
        if key.lower() == name.lower():
            return value
    return None


def value_text(value):
    if value is True:
        return "true"
    if value is False:
        return "false"
    return str(value)


def matches(row, where):
    if not where:
        return True
    for cond in re.split(r"\s+and\s+", where, flags=re.I):
        m = re.fullmatch(r"\s*(\w+)\s*(=|<>|!=)\s*(?:'([^']*)'|\"([^\"]*)\"|([-\w.]+))\s*", cond)
        if not m:
            raise invalid_query("the WMI service reported an invalid query (0x80041017).")
        wanted = next(g for g in (m.group(3), m.group(4), m.group(5)) if g is not None)
        value = lookup(row, m.group(1))
        equal = value is not None and value_text(value).lower() == wanted.lower()
        if equal != (m.group(2) == "="):
            return False
    return True


def elements(tag, value):
    if isinstance(value, list):
        return "".join(elements(tag, v) for v in value)
    if value is None:
        return '<%s xsi:nil="true"/>' % tag
    return "<%s>%s</%s>" % (tag, escape(value_text(value)), tag)


def class_item(class_name, row):
    body = "".join(elements("p:" + k, v) for k, v in row.items())
    return ('<p:{c} xmlns:p="{u}{c}" xmlns:cim="http://schemas.dmtf.org/wbem/wscim/1/common" '
            'xsi:type="p:{c}_Type">{b}</p:{c}>').format(c=class_name, u=CIMV2_URI, b=body)


def fragment_item(pairs):
    return "<w:XmlFragment>%s</w:XmlFragment>" % "".join(elements(k, v) for k, v in pairs)


def envelope(action, relates_to, body, prolog=""):
    return (prolog + '<s:Envelope xml:lang="en-US" xmlns:s="{s}" xmlns:a="{a}" xmlns:n="{n}" xmlns:w="{w}" '
            'xmlns:xsi="{xsi}"><s:Header><a:Action>{action}</a:Action><a:MessageID>uuid:{mid}</a:MessageID>'
            '<a:To>{anon}</a:To><a:RelatesTo>{rel}</a:RelatesTo></s:Header><s:Body>{body}</s:Body>'
            '</s:Envelope>').format(action=action, mid=str(uuid.uuid4()).upper(), anon=ANONYMOUS,
                                    rel=escape(relates_to), body=body, **NS)


def fault_envelope(fault, relates_to, machine):
    message = escape(fault.message)
    if fault.provider:
        message = '<f:ProviderFault provider="WMI Provider">%s</f:ProviderFault>' % message
    subcode = "<s:Subcode><s:Value>%s</s:Value></s:Subcode>" % escape(fault.subcode) if fault.subcode else ""
    body = ('<s:Fault><s:Code><s:Value>{code}</s:Value>{sub}</s:Code><s:Reason><s:Text xml:lang="en-US">'
            '{text}</s:Text></s:Reason><s:Detail><f:WSManFault xmlns:f="{f}" Code="{wc}" Machine={machine}>'
            '<f:Message>{msg}</f:Message></f:WSManFault></s:Detail></s:Fault>').format(
        code=escape(fault.code), sub=subcode, text=escape(fault.message), f=NS["f"], wc=fault.wsman_code,
        machine=quoteattr(machine), msg=message)
    return envelope("http://schemas.dmtf.org/wbem/wsman/1/wsman/fault", relates_to, body)


def child_text(root, path):
    node = root.find(path, NS)
    return node.text.strip() if node is not None and node.text else ""


class Request:
    def __init__(self, text):
        try:
            self.root = ElementTree.fromstring(text)
        except ElementTree.ParseError as e:
            raise Fault(400, "s:Sender", "", 2150858799, "The request is not well-formed XML: %s" % e)
        self.action = child_text(self.root, "s:Header/a:Action")
        self.message_id = child_text(self.root, "s:Header/a:MessageID")
        self.resource = child_text(self.root, "s:Header/w:ResourceURI")
        envelope_size = child_text(self.root, "s:Header/w:MaxEnvelopeSize")
        self.max_envelope = int(envelope_size) if envelope_size.isdigit() else None
        self.body = self.root.find("s:Body", NS)


def answer(node, text):
    """The SOAP reply (HTTP status, text) to one request."""
    relates_to = ""
    try:
        req = Request(text)
        relates_to = req.message_id
        short = req.action[len(ENUM_ACTION):] if req.action.startswith(ENUM_ACTION) else req.action
        if req.max_envelope is not None and req.max_envelope < 8192:
            raise Fault(500, "s:Sender", "w:EncodingLimit", 2150858761,
                        "The WS-Management service cannot process the request because the "
                        "MaxEnvelopeSize is below the minimum of 8192.")
        if short == "Enumerate":
            return 200, enumerate_reply(node, req)
        if short == "Pull":
            context = child_text(req.body, "n:Pull/n:EnumerationContext")
            log("REQUEST Pull context=%s" % context)
            max_elements = child_text(req.body, "n:Pull/n:MaxElements")
            batch, done = node.take(context, node.batch_size(int(max_elements) if max_elements.isdigit() else 1))
            body = "<n:PullResponse>%s<n:Items>%s</n:Items>%s</n:PullResponse>" % (
                "" if done else "<n:EnumerationContext>%s</n:EnumerationContext>" % escape(context),
                "".join(batch), "<n:EndOfSequence/>" if done else "")
            return 200, envelope(ENUM_ACTION + "PullResponse", relates_to, body)
        if short == "Release":
            context = child_text(req.body, "n:Release/n:EnumerationContext")
            known = node.release(context)
            log("REQUEST Release context=%s known=%s" % (context, "yes" if known else "no"))
            return 200, envelope(ENUM_ACTION + "ReleaseResponse", relates_to, "")
        log("REQUEST unsupported action=%s" % req.action)
        raise Fault(500, "s:Sender", "a:ActionNotSupported", 2150858783,
                    "The WS-Management service does not support the action %s." % req.action)
    except Fault as fault:
        log("FAULT %s %s %s" % (fault.code, fault.subcode, fault.wsman_code))
        return fault.http_status, fault_envelope(fault, relates_to, node.machine)


def enumerate_reply(node, req):
    filt = req.body.find("n:Enumerate/w:Filter", NS)
    query = (filt.text or "").strip() if filt is not None else ""
    log('REQUEST Enumerate resource=%s query="%s"' % (req.resource, query))
    if not req.resource.lower().startswith(CIMV2_URI.lower()):
        raise Fault(500, "s:Sender", "a:DestinationUnreachable", 2150858770,
                    "The WS-Management service cannot process the request. The WMI service "
                    "returned an 'invalid namespace' error.")
    if filt is None or filt.get("Dialect") != WQL_DIALECT:
        raise Fault(500, "s:Sender", "w:FilteringRequired", 2150858779,
                    "The WS-Management service cannot process the request: a WQL filter is required.")
    items = node.query(query)
    context = node.start(items)
    log("ENUMERATION context=%s items=%d" % (context, len(items)))
    optimize = req.body.find("n:Enumerate/w:OptimizeEnumeration", NS) is not None
    parts = ["<n:EnumerationContext>%s</n:EnumerationContext>" % context]
    if optimize:
        max_elements = child_text(req.body, "n:Enumerate/w:MaxElements")
        batch, done = node.take(context, node.batch_size(int(max_elements) if max_elements.isdigit() else 1))
        parts.append("<w:Items>%s</w:Items>" % "".join(batch))
        if done:
            parts.append("<w:EndOfSequence/>")
    return envelope(ENUM_ACTION + "EnumerateResponse", req.message_id,
                    "<n:EnumerateResponse>%s</n:EnumerateResponse>" % "".join(parts))


def misbehave(behaviour, status, text):
    """The reply of a node that does not answer as it should."""
    if behaviour == "malformed":
        return 200, text[: len(text) // 2] + "<w:Items><p:Broken></w:Items>"
    if behaviour == "oversized":
        filler = "<p:Name>%s</p:Name>" % ("X" * (6 * 1024 * 1024))
        return 200, envelope(ENUM_ACTION + "EnumerateResponse", "",
                             "<n:EnumerateResponse><w:Items><w:XmlFragment>%s</w:XmlFragment></w:Items>"
                             "<w:EndOfSequence/></n:EnumerateResponse>" % filler)
    if behaviour == "deep":
        depth = 10000
        return 200, envelope(ENUM_ACTION + "EnumerateResponse", "",
                             "<n:EnumerateResponse><w:Items>%s%s</w:Items></n:EnumerateResponse>" % (
                                 "<w:XmlFragment>" * depth, "</w:XmlFragment>" * depth))
    if behaviour == "entities":
        dtd = ['<!ENTITY lol0 "lol">']
        dtd += ['<!ENTITY lol%d "%s">' % (i, ("&lol%d;" % (i - 1)) * 10) for i in range(1, 10)]
        prolog = '<?xml version="1.0"?><!DOCTYPE s:Envelope [%s]>' % "".join(dtd)
        return 200, envelope(ENUM_ACTION + "EnumerateResponse", "",
                             "<n:EnumerateResponse><w:Items><w:XmlFragment><Name>&lol9;</Name></w:XmlFragment>"
                             "</w:Items><w:EndOfSequence/></n:EnumerateResponse>", prolog)
    return status, text


def parse_sealed(body, content_type):
    """The two parts of a multipart/encrypted body: (declared length, octet-stream payload)."""
    if SESSION_PROTOCOL.lower() not in content_type.lower():
        raise ValueError("unexpected protocol in %s" % content_type)
    end = BOUNDARY + b"--\r\n"
    if not body.startswith(BOUNDARY + b"\r\n") or not body.endswith(end):
        raise ValueError("body does not start and end with the boundary")
    head, sep, rest = body[len(BOUNDARY) + 2:].partition(BOUNDARY + b"\r\n")
    if not sep:
        raise ValueError("second part missing")
    m = re.search(rb"OriginalContent:\s*type=[^\r\n]*;Length=(\d+)", head, re.I)
    if not m:
        raise ValueError("OriginalContent with Length missing")
    marker = b"\tContent-Type: application/octet-stream\r\n"
    if not rest.startswith(marker):
        raise ValueError("octet-stream part header missing")
    return int(m.group(1)), rest[len(marker):-len(end)]


def build_sealed(plain, payload):
    return (BOUNDARY + b"\r\n\tContent-Type: " + SESSION_PROTOCOL.encode() + b"\r\n"
            b"\tOriginalContent: type=" + SOAP_TYPE.encode() + b";Length=" + str(len(plain)).encode() + b"\r\n"
            + BOUNDARY + b"\r\n\tContent-Type: application/octet-stream\r\n" + payload + BOUNDARY + b"--\r\n")


def read_users(path):
    users = []
    if path:
        with open(path, encoding="utf-8") as f:
            for line in f:
                parts = line.rstrip("\r\n").split(":", 2)
                if len(parts) == 3:
                    users.append(tuple(parts))
    return users


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body leave in separate writes; a node's HTTP stack never holds the body back.
    disable_nagle_algorithm = True

    def version_string(self):
        return "Microsoft-HTTPAPI/2.0"

    def setup(self):
        if self.server.tls:
            self.request.settimeout(10)
            try:
                self.request = self.server.tls.wrap_socket(self.request, server_side=True)
            except (ssl.SSLError, OSError) as e:
                log("TLS handshake failed: %s" % e)
                self.request.close()
                raise
            self.request.settimeout(None)
        super().setup()
        self.gss = None            # the connection's NTLM session once established
        self.pending = None        # a handshake under way

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.send_plain(405, b"")

    def do_POST(self):
        cfg = self.server.cfg
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        if cfg.behaviour == "silent":
            log("SILENT request left unanswered")
            while True:
                time.sleep(3600)
        if cfg.behaviour.startswith("slow:"):
            time.sleep(int(cfg.behaviour[5:]) / 1000.0)
        if self.path.split("?")[0].lower() != "/wsman":
            return self.send_plain(404, b"")
        if not self.authenticate():
            return
        content_type = self.headers.get("Content-Type", "")
        sealed = content_type.lower().startswith("multipart/encrypted")
        if sealed:
            if self.gss is None:
                log("REFUSED sealed body without an NTLM session")
                return self.send_plain(400, b"")
            try:
                declared, payload = parse_sealed(body, content_type)
                plain = self.unseal(payload)
            except Exception as e:  # a part that does not verify is refused, as a node does
                log("REFUSED sealed body: %s" % e)
                return self.send_plain(400, b"")
            if len(plain) != declared:
                log("REFUSED sealed body: length %d, OriginalContent says %d" % (len(plain), declared))
                return self.send_plain(400, b"")
            body = plain
        elif body and not (self.server.tls or cfg.allow_unencrypted):
            log("REFUSED unencrypted body")
            return self.send_plain(500, b"")
        if not body:
            return self.send_plain(200, b"")
        if cfg.behaviour == "empty500":
            return self.send_plain(500, b"")
        status, text = answer(cfg.node, body.decode("utf-8", "replace"))
        status, text = misbehave(cfg.behaviour, status, text)
        reply = text.encode("utf-8")
        if sealed:
            self.send_plain(status, build_sealed(reply, self.seal(reply)), SEALED_TYPE)
        else:
            self.send_plain(status, reply, SOAP_TYPE)

    def seal(self, plain):
        wrapped = self.gss.wrap(plain, True).message
        sig, data = wrapped[:NTLM_SIGNATURE_LENGTH], wrapped[NTLM_SIGNATURE_LENGTH:]
        return struct.pack("<I", len(sig)) + sig + data

    def unseal(self, payload):
        if len(payload) < 4:
            raise ValueError("octet-stream part too short")
        sig_len = struct.unpack("<I", payload[:4])[0]
        if sig_len != NTLM_SIGNATURE_LENGTH or len(payload) < 4 + sig_len:
            raise ValueError("signature length %d" % sig_len)
        return self.gss.unwrap(payload[4:]).message

    def offered(self):
        schemes = []
        for scheme in self.server.cfg.auth:
            if scheme == "ntlm":
                schemes.append("Negotiate")
            elif scheme == "basic":
                schemes.append('Basic realm="WSMAN"')
            elif scheme == "kerberos":
                schemes.append("Kerberos")
        return schemes

    def refuse(self, token=None):
        self.send_response(401)
        if token is not None:
            self.send_header("WWW-Authenticate", "Negotiate " + base64.b64encode(token).decode())
        else:
            for scheme in self.offered():
                self.send_header("WWW-Authenticate", scheme)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def authenticate(self):
        """True when the request may be served; otherwise the 401 has been sent."""
        cfg = self.server.cfg
        header = self.headers.get("Authorization", "")
        scheme, _, value = header.partition(" ")
        scheme = scheme.lower()
        if not header:
            if self.gss is not None:
                return True
            log("AUTH none offered=%s" % ",".join(self.offered()))
            self.refuse()
            return False
        if scheme in ("negotiate", "ntlm") and "ntlm" in cfg.auth:
            return self.negotiate(value.strip())
        if scheme == "basic" and "basic" in cfg.auth:
            return self.basic(value.strip())
        log("AUTH scheme %s not offered" % scheme)
        self.refuse()
        return False

    def negotiate(self, value):
        import gssapi
        try:
            token = base64.b64decode(value, validate=True)
        except ValueError:
            self.refuse()
            return False
        if token[8:12] == b"\x01\x00\x00\x00" or self.pending is None:
            self.gss = None
            self.pending = gssapi.SecurityContext(creds=self.server.acceptor, usage="accept")
        try:
            out = self.pending.step(token)
        except gssapi.exceptions.GSSError as e:
            log("AUTH ntlm failed: %s" % " ".join(str(e).split()))
            self.pending = None
            self.refuse()
            return False
        if not self.pending.complete:
            log("AUTH ntlm challenge")
            self.refuse(out or b"")
            return False
        self.gss, self.pending = self.pending, None
        log("AUTH ntlm ok user=%s" % str(self.gss.initiator_name).strip("\x00 "))
        return True

    def basic(self, value):
        try:
            user, _, password = base64.b64decode(value, validate=True).decode("utf-8").partition(":")
        except ValueError:
            self.refuse()
            return False
        domain, _, name = user.rpartition("\\")
        for d, u, p in self.server.cfg.users:
            if u.lower() == name.lower() and p == password and (not domain or domain.lower() == d.lower()):
                log("AUTH basic ok user=%s" % user)
                return True
        log("AUTH basic failed user=%s" % user)
        self.refuse()
        return False

    def send_plain(self, status, body, content_type=None):
        self.send_response(status)
        if content_type:
            self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()


class Config:
    pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--node", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--auth", default="ntlm")
    parser.add_argument("--users")
    parser.add_argument("--https", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--allow-unencrypted", action="store_true")
    args = parser.parse_args()

    cfg = Config()
    cfg.node = Node(args.node)
    cfg.behaviour = cfg.node.behaviour
    cfg.auth = [a.strip().lower() for a in args.auth.split(",") if a.strip()]
    cfg.users = read_users(args.users)
    cfg.allow_unencrypted = args.allow_unencrypted

    acceptor = None
    if "ntlm" in cfg.auth:
        if args.users:
            os.environ["NTLM_USER_FILE"] = os.path.abspath(args.users)
        try:
            import gssapi
        except ImportError:
            log("ERROR python3-gssapi is not installed")
            return 2
        try:
            mech = gssapi.OID.from_int_seq(NTLM_OID)
            acceptor = gssapi.Credentials(usage="accept", mechs=[mech])
        except gssapi.exceptions.GSSError:
            log("ERROR the NTLM mechanism of GSSAPI is missing: install gss-ntlmssp")
            return 2

    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.cfg = cfg
    server.acceptor = acceptor
    server.tls = None
    if args.https:
        server.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        server.tls.load_cert_chain(args.https[0], args.https[1])

    def stop(*_):
        sys.stderr.flush()
        os._exit(0)

    signal.signal(signal.SIGTERM, stop)

    def watch_stdin():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        except OSError:
            pass
        stop()

    threading.Thread(target=watch_stdin, daemon=True).start()
    print("READY %d" % server.server_address[1], flush=True)
    server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
