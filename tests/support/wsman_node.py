"""What a Windows node answers to WS-Management enumerations, apart from the transport.

The node description (NODE.json) gives the classes and their rows, the items per reply,
the faults to answer and the misbehaviour, if any; see wsman_server.py.
"""

import json
import re
import sys
import threading
import uuid
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
ANONYMOUS = "/".join((NS["a"], "role", "anonymous"))
WMI_URI = "http://schemas.microsoft.com/wbem/wsman/1/wmi/"
CIMV2_URI = WMI_URI + "root/cimv2/"
WQL_DIALECT = "http://schemas.microsoft.com/wbem/wsman/1/WQL"


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
    def from_json(entry):
        return Fault(entry.get("httpStatus", 500), entry.get("code", "s:Sender"), entry.get("subcode", ""),
                     entry.get("wsmanCode", 0), entry.get("message", ""), entry.get("providerFault", False))


def invalid_query(text):
    return Fault(500, "s:Sender", "w:CannotProcessFilter", 2150858778,
                 "The WS-Management service cannot process the request because the filter is invalid: " + text)


class Node:
    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            node = json.load(f)
        self.classes = node.get("classes", {})
        self.items_per_reply = node.get("itemsPerReply")
        self.faults = node.get("faults", [])
        self.behaviour = node.get("behaviour", "normal")
        identity = node.get("identify", {})
        self.product_vendor = identity.get("vendor", "Microsoft Corporation")
        self.product_version = identity.get("version", "OS: 10.0.20348 SP: 0.0 Stack: 3.0")
        # A node that turns away a message sent with the last login token (400).
        self.login_first = bool(node.get("loginFirst", False))
        # A node that drops a kept-alive connection after so many answers, without a word.
        self.close_after_answers = node.get("closeAfterAnswers")
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
        for entry in self.faults:
            if entry.get("match", "").lower() in text.lower():
                raise Fault.from_json(entry)
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
