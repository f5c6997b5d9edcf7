"""The calls requests-kerberos makes of the pykerberos module, made on python3-gssapi.

Debian 12's python3-kerberos (1.1.14) predates the WinRM message wrap
(authGSSWinRMEncryptMessage / authGSSWinRMDecryptMessage) and channel bindings, which
requests-kerberos and pywinrm use when they are there. Installed as the module "kerberos"
before those are imported, this lets pywinrm's own framing of sealed bodies and
requests-kerberos's own channel binding run against the test server, on MIT GSSAPI.
"""

import base64

import gssapi
from gssapi.raw import ChannelBindings, IOV, IOVBufferType, wrap_iov

GSS_C_DELEG_FLAG = 1
GSS_C_MUTUAL_FLAG = 2
GSS_C_REPLAY_FLAG = 4
GSS_C_SEQUENCE_FLAG = 8
GSS_C_CONF_FLAG = 16
GSS_C_INTEG_FLAG = 32

AUTH_GSS_COMPLETE = 1
AUTH_GSS_CONTINUE = 0


class GSSError(Exception):
    pass


class _Context:
    def __init__(self, service, flags, principal):
        name = gssapi.Name(service, gssapi.NameType.hostbased_service)
        creds = None
        if principal:
            creds = gssapi.Credentials(name=gssapi.Name(principal, gssapi.NameType.kerberos_principal),
                                       usage="initiate")
        self.flags = flags | GSS_C_CONF_FLAG | GSS_C_INTEG_FLAG
        self.name, self.creds = name, creds
        self.context = None
        self.response = ""


def channelBindings(application_data=None, **_):
    return ChannelBindings(application_data=application_data)


def authGSSClientInit(service, gssflags=GSS_C_MUTUAL_FLAG | GSS_C_SEQUENCE_FLAG, principal=None, **_):
    try:
        return 1, _Context(service, gssflags, principal)
    except gssapi.exceptions.GSSError as e:
        raise GSSError(str(e))


def authGSSClientStep(state, challenge, channel_bindings=None, **_):
    try:
        if state.context is None:
            state.context = gssapi.SecurityContext(name=state.name, creds=state.creds, usage="initiate",
                                                   mech=gssapi.MechType.kerberos,
                                                   flags=[f for f in gssapi.RequirementFlag if f & state.flags],
                                                   channel_bindings=channel_bindings)
        token = state.context.step(base64.b64decode(challenge) if challenge else None)
    except gssapi.exceptions.GSSError as e:
        raise GSSError(str(e))
    state.response = base64.b64encode(token).decode() if token else ""
    return AUTH_GSS_COMPLETE if state.context.complete else AUTH_GSS_CONTINUE


def authGSSClientResponse(state):
    return state.response


def authGSSWinRMEncryptMessage(state, message):
    """(sealed data and padding, the wrap's header) as pykerberos gives them."""
    iov = IOV(IOVBufferType.header, message, IOVBufferType.padding, std_layout=False)
    wrap_iov(state.context, iov, confidential=True)
    return (iov[1].value or b"") + (iov[2].value or b""), iov[0].value or b""


def authGSSWinRMDecryptMessage(state, message, header):
    return state.context.unwrap(header + message).message
