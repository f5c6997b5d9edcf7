#!/usr/bin/python3
"""A WS-Management endpoint that answers WQL enumerations the way a Windows node does.

    wsman_server.py --node NODE.json [--port 0] [--auth ntlm|basic|kerberos|kerberos-only|...]
                    [--users USERFILE] [--keytab KEYTAB] [--https CERT.pem KEY.pem]
                    [--channel-binding none|relaxed|strict] [--allow-unencrypted] [--bind ADDRESS]

Binds 127.0.0.1 (or ADDRESS), prints one line "READY <port>" when listening and serves HTTP/1.1
keep-alive POST /wsman until SIGTERM or until its stdin closes. Each request is logged to
stderr (authentication, action, query, enumeration context); never a password. Each connection
logs "CONNECTION" and each POST "POST", so that a test counts the round trips a client costs.

NTLM goes through GSSAPI with the gss-ntlmssp mechanism, which reads the users file
(DOMAIN:user:password lines) through NTLM_USER_FILE; Basic checks the same file. The
handshake authenticates the connection, as on a node. Over plain HTTP a body must be
sealed with the session (multipart/encrypted) unless --allow-unencrypted; an unsealed one
gets 500 with an empty body. Basic cannot seal, so over plain HTTP it needs
--allow-unencrypted too.

Kerberos (the krb5 mechanism, or SPNEGO carrying it) is accepted with the service keys of
KEYTAB, offered as Negotiate and Kerberos, or as Kerberos alone (kerberos-only: a node with
Negotiate turned off) (KRB5_KTNAME; KRB5_CONFIG names the realm's KDC); its sealed bodies carry the
wrap's header as the signature, then the data and padding, as a Windows node sends them.
Over HTTPS the server holds the tls-server-end-point binding of its certificate: relaxed
refuses a sign-in whose binding differs, strict also one that carries none.

NODE.json: "classes" (class name -> rows), "itemsPerReply" (the node's cap on items per
Enumerate / Pull reply; the request's MaxElements, default 1, may lower it), "loginFirst"
(a message sent with the last NTLM token gets 400: the login must come first, with an empty
body), "closeAfterAnswers" (the connection is dropped silently after so many answers), "faults"
(a query text containing "match" gets that fault; keys httpStatus, code, subcode,
wsmanCode, message, providerFault), "behaviour": normal, slow:<ms>, silent,
malformed, oversized, deep, entities or empty500, and "identify" ("vendor", "version"): the
answer to an Identify sent with "WSMANIDENTIFY: unauthenticated", which needs no login.
"""

import argparse
import base64
from xml.sax.saxutils import escape
import os
import re
import signal
import shutil
import ssl
import struct
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from wsman_node import Node, answer, log, misbehave

NTLM_OID = "1.3.6.1.4.1.311.2.2.10"
SESSION_PROTOCOL = "application/HTTP-SPNEGO-session-encrypted"
BOUNDARY = b"--Encrypted Boundary"
SEALED_TYPE = 'multipart/encrypted;protocol="%s";boundary="Encrypted Boundary"' % SESSION_PROTOCOL
SOAP_TYPE = "application/soap+xml;charset=UTF-8"
# An NTLM signature is always 16 bytes; gss_wrap puts it before the sealed data.
NTLM_SIGNATURE_LENGTH = 16
KRB5_OID = "1.2.840.113554.1.2.2"


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


def identify_reply(node):
    return (
        '<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" '
        'xmlns:wsmid="http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd">'
        "<s:Header/><s:Body><wsmid:IdentifyResponse>"
        "<wsmid:ProtocolVersion>http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd</wsmid:ProtocolVersion>"
        "<wsmid:ProductVendor>%s</wsmid:ProductVendor>"
        "<wsmid:ProductVersion>%s</wsmid:ProductVersion>"
        "<wsmid:SecurityProfiles><wsmid:SecurityProfileName>"
        "http://schemas.dmtf.org/wbem/wsman/1/wsman/secprofile/http/spnego-kerberos"
        "</wsmid:SecurityProfileName></wsmid:SecurityProfiles>"
        "</wsmid:IdentifyResponse></s:Body></s:Envelope>"
        % (escape(node.product_vendor), escape(node.product_version)))


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
        log("CONNECTION from port %d" % self.client_address[1])
        self.gss = None            # the connection's session once established
        self.kerberos = False      # whether that session is Kerberos (else NTLM)
        self.pending = None        # a handshake under way
        self.signed_in_now = False # this request completed the handshake
        self.answers = 0

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.send_plain(405, b"")

    def do_POST(self):
        cfg = self.server.cfg
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        log("POST body=%d auth=%s" % (len(body), self.headers.get("Authorization", "").partition(" ")[0] or "none"))
        if cfg.behaviour == "silent":
            log("SILENT request left unanswered")
            while True:
                time.sleep(3600)
        if cfg.behaviour.startswith("slow:"):
            time.sleep(int(cfg.behaviour[5:]) / 1000.0)
        if self.path.split("?")[0].lower() != "/wsman":
            return self.send_plain(404, b"")
        if self.headers.get("WSMANIDENTIFY", "").lower() == "unauthenticated" and b"Identify" in body:
            log("IDENTIFY unauthenticated")
            return self.send_plain(200, identify_reply(cfg.node).encode("utf-8"), SOAP_TYPE)
        self.signed_in_now = False
        if not self.authenticate():
            return
        if body and self.signed_in_now and cfg.node.login_first:
            log("REFUSED message with the login")
            return self.send_plain(400, b"")
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
        self.answers += 1
        if cfg.node.close_after_answers and self.answers >= cfg.node.close_after_answers:
            log("CLOSED after %d answers" % self.answers)
            self.close_connection = True

    def seal(self, plain):
        if self.kerberos:
            from gssapi.raw import IOV, IOVBufferType, wrap_iov
            iov = IOV(IOVBufferType.header, plain, IOVBufferType.padding, std_layout=False)
            wrap_iov(self.gss, iov, confidential=True)
            header = iov[0].value or b""
            return struct.pack("<I", len(header)) + header + (iov[1].value or b"") + (iov[2].value or b"")
        wrapped = self.gss.wrap(plain, True).message
        sig, data = wrapped[:NTLM_SIGNATURE_LENGTH], wrapped[NTLM_SIGNATURE_LENGTH:]
        return struct.pack("<I", len(sig)) + sig + data

    def unseal(self, payload):
        if len(payload) < 4:
            raise ValueError("octet-stream part too short")
        sig_len = struct.unpack("<I", payload[:4])[0]
        if self.kerberos:
            if len(payload) < 4 + sig_len:
                raise ValueError("signature length %d" % sig_len)
            # The header and the data are one token to unwrap, its rotation undone by GSSAPI.
            return self.gss.unwrap(payload[4:]).message
        if sig_len != NTLM_SIGNATURE_LENGTH or len(payload) < 4 + sig_len:
            raise ValueError("signature length %d" % sig_len)
        return self.gss.unwrap(payload[4:]).message

    def offered(self):
        schemes = []
        for scheme in self.server.cfg.auth:
            if scheme in ("ntlm", "kerberos") and "Negotiate" not in schemes:
                schemes.append("Negotiate")
            elif scheme == "basic":
                schemes.append('Basic realm="WSMAN"')
            if scheme in ("kerberos", "kerberos-only"):
                schemes.append("Kerberos")
        return schemes

    def refuse(self, token=None, scheme="Negotiate"):
        self.send_response(401)
        if token is not None:
            self.send_header("WWW-Authenticate", scheme + " " + base64.b64encode(token).decode())
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
        kerberos_schemes = ("negotiate", "kerberos") if "kerberos" in cfg.auth else \
            ("kerberos",) if "kerberos-only" in cfg.auth else ()
        if scheme in kerberos_schemes and self.is_kerberos(value.strip()):
            return self.negotiate_kerberos(header.partition(" ")[0], value.strip())
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
            self.pending = gssapi.SecurityContext(creds=self.server.acceptor, usage="accept",
                                                  channel_bindings=self.channel_bindings())
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
        if not self.check_binding(self.pending, "ntlm"):
            self.pending = None
            self.refuse()
            return False
        self.gss, self.pending, self.kerberos = self.pending, None, False
        self.signed_in_now = True
        log("AUTH ntlm ok user=%s" % str(self.gss.initiator_name).strip("\x00 "))
        return True

    @staticmethod
    def is_kerberos(value):
        """A GSSAPI token (krb5 or SPNEGO) rather than a raw NTLM message."""
        try:
            token = base64.b64decode(value, validate=True)
        except ValueError:
            return False
        return not token.startswith(b"NTLMSSP\0")

    def channel_bindings(self):
        import gssapi
        from gssapi.raw import ChannelBindings
        if not self.server.tls or self.server.cfg.channel_binding == "none":
            return None
        return ChannelBindings(application_data=b"tls-server-end-point:" + self.server.cert_hash)

    def check_binding(self, context, mech):
        """False, logged, when the channel binding policy refuses the established context."""
        import gssapi
        policy = self.server.cfg.channel_binding
        if not self.server.tls or policy != "strict":
            return True
        if context.actual_flags & gssapi.RequirementFlag.channel_bound:
            return True
        log("AUTH %s refused: no channel binding (strict)" % mech)
        return False

    def negotiate_kerberos(self, scheme, value):
        import gssapi
        token = base64.b64decode(value)
        self.gss = None
        context = gssapi.SecurityContext(creds=self.server.kerberos_acceptor, usage="accept",
                                         channel_bindings=self.channel_bindings())
        try:
            out = context.step(token)
            complete = context.complete  # raises what the step kept back with its error token
        except gssapi.exceptions.GSSError as e:
            log("AUTH kerberos failed: %s" % " ".join(str(e).split()))
            self.refuse()
            return False
        if not complete:
            # SPNEGO's further legs are not needed with a Kerberos ticket.
            log("AUTH kerberos incomplete")
            self.refuse()
            return False
        if not self.check_binding(context, "kerberos"):
            self.refuse()
            return False
        self.gss, self.kerberos = context, True
        self.signed_in_now = True
        self.reply_token = (scheme, out) if out else None
        log("AUTH kerberos ok user=%s" % context.initiator_name)
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
        # The mutual-authentication token of a Kerberos sign-in rides on the answer to it.
        if getattr(self, "reply_token", None):
            scheme, token = self.reply_token
            self.reply_token = None
            self.send_header("WWW-Authenticate", scheme + " " + base64.b64encode(token).decode())
        if content_type:
            self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()


def certificate_hash(pem_path):
    """The RFC 5929 hash of the certificate: SHA-256, what the test certificates are signed with."""
    import hashlib
    with open(pem_path, encoding="ascii") as f:
        der = ssl.PEM_cert_to_DER_cert(f.read())
    return hashlib.sha256(der).digest()


class Config:
    pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--node", required=True)
    parser.add_argument("--port", type=int, default=0)
    # Tests stay on loopback; another address serves a node inside a network namespace.
    parser.add_argument("--bind", default="127.0.0.1")
    parser.add_argument("--auth", default="ntlm")
    parser.add_argument("--users")
    parser.add_argument("--https", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--allow-unencrypted", action="store_true")
    parser.add_argument("--keytab")
    parser.add_argument("--channel-binding", choices=("none", "relaxed", "strict"), default="none")
    args = parser.parse_args()

    cfg = Config()
    cfg.node = Node(args.node)
    cfg.behaviour = cfg.node.behaviour
    cfg.auth = [a.strip().lower() for a in args.auth.split(",") if a.strip()]
    cfg.users = read_users(args.users)
    cfg.allow_unencrypted = args.allow_unencrypted
    cfg.channel_binding = args.channel_binding

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

    kerberos_acceptor = None
    if "kerberos" in cfg.auth or "kerberos-only" in cfg.auth:
        if args.keytab:
            os.environ["KRB5_KTNAME"] = "FILE:" + os.path.abspath(args.keytab)
        # The acceptor's replay cache goes in a folder of the server's own, not the system's /var/tmp.
        replay = tempfile.mkdtemp(prefix="wsman-rcache-")
        os.environ["KRB5RCACHEDIR"] = replay
        import gssapi
        try:
            kerberos_acceptor = gssapi.Credentials(usage="accept")
        except gssapi.exceptions.GSSError as e:
            log("ERROR no Kerberos service keys: %s" % " ".join(str(e).split()))
            shutil.rmtree(replay, True)
            return 2

    # A fleet's worth of connections may arrive at once; the default backlog of 5 would drop some.
    ThreadingHTTPServer.request_queue_size = 256
    server = ThreadingHTTPServer((args.bind, args.port), Handler)
    server.daemon_threads = True
    server.cfg = cfg
    server.acceptor = acceptor
    server.kerberos_acceptor = kerberos_acceptor
    server.tls = None
    if args.https:
        server.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        server.tls.load_cert_chain(args.https[0], args.https[1])
        server.cert_hash = certificate_hash(args.https[0])

    def stop(*_):
        sys.stderr.flush()
        if "KRB5RCACHEDIR" in os.environ:
            shutil.rmtree(os.environ["KRB5RCACHEDIR"], True)
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
