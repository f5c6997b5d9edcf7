#!/usr/bin/python3
"""A throwaway Active Directory domain for the tests, from Debian's samba-ad-dc.

    test_domain.py up FOLDER [N]  provisions the domain in FOLDER and starts its DC; N further
                                  enabled computer objects (BENCH-0001...) for the benchmarks
    test_domain.py down FOLDER    stops the DC by its pid and removes what up made

The domain controller runs in a network namespace of its own with only its loopback, so
its KDC (port 88) and LDAP (389) answer on 127.0.0.1 of that namespace and nowhere else.
Every path of the DC (private, lock, state, cache, pid, log, sockets) is inside FOLDER.

"up" writes FOLDER/domain.env (KEY=VALUE lines) for the tests: NAMESPACE, REALM, DOMAIN,
DNS_DOMAIN, KRB5_CONFIG, ADMIN, ADMIN_PASSWORD, DC_ADDRESS, ENABLED_COMPUTERS and
DISABLED_COMPUTERS (the computer objects), and per test node NODE_<NAME>_KEYTAB with the
keytab of its HTTP/<name>.<dns domain> service principal. Where the domain cannot be made here (no
root, no namespaces, samba-ad-dc missing) it writes UNAVAILABLE=<why> instead and exits 0,
so that the tests skip with that reason.
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import time
import zlib

REALM = "VORLU.TEST"
DNS_DOMAIN = "vorlu.test"
NETBIOS = "VORLU"
ADMIN_PASSWORD = "Dom-Pa55-w0rd!"
# The computers of the test network: each gets a computer object and an HTTP service principal.
NODES = ["SRV-ARCHIVE", "WS-LAB-07"]
# Directory listing only: enabled computers beside the test nodes, and one disabled.
EXTRA_COMPUTERS = ["PC-%03d" % k for k in range(1, 11)]
DISABLED_COMPUTER = "PC-RETIRED"
READY_LIMIT_S = 60


def namespace_for(folder):
    # One namespace per folder; a short name, as ip netns needs.
    return "vdom%05d" % (zlib.crc32(os.path.realpath(folder).encode()) % 100000)


def run(args, **kw):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)


def write_env(folder, values):
    path = os.path.join(folder, "domain.env")
    with open(path + ".new", "w", encoding="utf-8") as f:
        for key, value in values.items():
            f.write("%s=%s\n" % (key, value))
    os.replace(path + ".new", path)


def unavailable_reason():
    if os.geteuid() != 0:
        return "the test domain needs root (network namespaces and a domain controller)"
    for tool in ("samba", "samba-tool", "ip"):
        if shutil.which(tool) is None and not os.path.exists("/usr/sbin/" + tool):
            return "%s is missing: install samba-ad-dc and iproute2 (make deps)" % tool
    return ""


def smb_conf_options(dc):
    return {
        "interfaces": "lo",
        "bind interfaces only": "yes",
        "pid directory": os.path.join(dc, "run"),
        "winbindd socket directory": os.path.join(dc, "winbindd"),
        "ncalrpc dir": os.path.join(dc, "ncalrpc"),
        "lock directory": os.path.join(dc, "lock"),
        "state directory": os.path.join(dc, "state"),
        "cache directory": os.path.join(dc, "cache"),
        "private dir": os.path.join(dc, "private"),
        "binddns dir": os.path.join(dc, "bind-dns"),
        "log file": os.path.join(dc, "log.samba"),
        "server services": "kdc ldap dns",
        "dns forwarder": "127.0.0.1",
        "panic action": "",
        "load printers": "no",
        "disable spoolss": "yes",
        "ldap server require strong auth": "yes",
    }


def krb5_conf(folder):
    path = os.path.join(folder, "krb5.conf")
    with open(path, "w", encoding="utf-8") as f:
        f.write("""[libdefaults]
\tdefault_realm = %(realm)s
\tdns_lookup_kdc = false
\tdns_lookup_realm = false
\trdns = false
\tdns_canonicalize_hostname = false
\tdefault_ccache_name = FILE:%(folder)s/ccache
[realms]
\t%(realm)s = {
\t\tkdc = 127.0.0.1
\t}
[domain_realm]
\t.%(dns)s = %(realm)s
\t%(dns)s = %(realm)s
""" % {"realm": REALM, "dns": DNS_DOMAIN, "folder": folder})
    return path


def modify(conf, dn, attributes):
    """Sets attributes of one object straight in the DC's database."""
    script = """
import sys
from samba.samdb import SamDB
from samba.param import LoadParm
from samba.auth import system_session
import ldb
lp = LoadParm(); lp.load(sys.argv[1])
db = SamDB(url=lp.private_path("sam.ldb"), session_info=system_session(), lp=lp)
m = ldb.Message(ldb.Dn(db, sys.argv[2]))
for pair in sys.argv[3:]:
    name, _, value = pair.partition("=")
    m[name] = ldb.MessageElement(value, ldb.FLAG_MOD_REPLACE, name)
db.modify(m)
"""
    run(["/usr/bin/python3", "-c", script, conf, dn] + ["%s=%s" % kv for kv in attributes.items()])


def base_dn():
    return ",".join("DC=" + part for part in DNS_DOMAIN.split("."))


# Computer objects straight in the DC's database, in one go: samba-tool takes a second each.
ADD_COMPUTERS = """
import sys
from samba.samdb import SamDB
from samba.param import LoadParm
from samba.auth import system_session
lp = LoadParm(); lp.load(sys.argv[1])
db = SamDB(url=lp.private_path("sam.ldb"), session_info=system_session(), lp=lp)
base, dns = sys.argv[2], sys.argv[3]
for entry in sys.argv[4:]:
    name, _, control = entry.partition(":")
    db.add({"dn": "CN=%s,CN=Computers,%s" % (name, base), "objectClass": "computer",
            "sAMAccountName": name + "$", "userAccountControl": control,
            "dNSHostName": "%s.%s" % (name.lower(), dns), "operatingSystem": "Windows 11 Pro"})
"""


def add_computers(conf, enabled, disabled):
    # 4096: a workstation's account; 4098: the same, disabled.
    entries = ["%s:4096" % n for n in enabled] + ["%s:4098" % n for n in disabled]
    run(["/usr/bin/python3", "-c", ADD_COMPUTERS, conf, base_dn(), DNS_DOMAIN] + entries)


def add_service_node(folder, conf, name):
    """A computer object with an HTTP/<name>.<domain> service principal; the path of its keytab."""
    tool = ["samba-tool"]
    run(tool + ["computer", "create", name, "-s", conf])
    fqdn = "%s.%s" % (name.lower(), DNS_DOMAIN)
    # AES keys, as a Windows member has them; set before the password they derive from.
    modify(conf, "CN=%s,CN=Computers,%s" % (name, base_dn()),
           {"dNSHostName": fqdn, "operatingSystem": "Windows Server 2022 Standard",
            "msDS-SupportedEncryptionTypes": "24"})
    run(tool + ["spn", "add", "HTTP/" + fqdn, name + "$", "-s", conf])
    run(tool + ["user", "setpassword", name + "$", "--newpassword=Node-%s-Key-1!x" % name, "-s", conf])
    keytab = os.path.join(folder, "%s.keytab" % name.lower())
    run(tool + ["domain", "exportkeytab", keytab, "--principal=HTTP/" + fqdn, "-s", conf])
    return keytab


def answering(namespace, port):
    probe = ("import socket,sys\ns=socket.create_connection(('127.0.0.1',%d),1)\n" % port)
    return subprocess.run(["ip", "netns", "exec", namespace, "/usr/bin/python3", "-c", probe],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def down(folder):
    env = os.path.join(folder, "domain.env")
    pid_file = os.path.join(folder, "dc", "run", "samba.pid")
    if os.path.exists(pid_file):
        try:
            with open(pid_file) as f:
                pid = int(f.read().strip() or 0)
            if pid > 0:
                os.kill(pid, signal.SIGTERM)
                for _ in range(50):
                    os.kill(pid, 0)
                    time.sleep(0.1)
                os.kill(pid, signal.SIGKILL)
        except (ValueError, ProcessLookupError, PermissionError):
            pass
    namespace = namespace_for(folder)
    if subprocess.run(["ip", "netns", "pids", namespace], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                      text=True).returncode == 0:
        # The DC's own children, should any outlive it.
        for pid in subprocess.run(["ip", "netns", "pids", namespace], stdout=subprocess.PIPE,
                                  text=True).stdout.split():
            # A test that entered the namespace and called this is not the DC's.
            if int(pid) in (os.getpid(), os.getppid()):
                continue
            try:
                os.kill(int(pid), signal.SIGKILL)
            except ProcessLookupError:
                pass
        subprocess.run(["ip", "netns", "del", namespace], stderr=subprocess.DEVNULL)
    if os.path.isdir(folder) and (os.path.exists(env) or os.path.isdir(os.path.join(folder, "dc"))):
        shutil.rmtree(folder, ignore_errors=True)


def up(folder, bench_computers=0):
    down(folder)
    os.makedirs(folder, exist_ok=True)
    reason = unavailable_reason()
    if reason:
        write_env(folder, {"UNAVAILABLE": reason})
        print("test domain unavailable: " + reason)
        return 0
    namespace = namespace_for(folder)
    try:
        run(["ip", "netns", "add", namespace])
        run(["ip", "-n", namespace, "link", "set", "lo", "up"])
    except subprocess.CalledProcessError as e:
        reason = "network namespaces are not available here: " + e.stdout.strip()
        write_env(folder, {"UNAVAILABLE": reason})
        print("test domain unavailable: " + reason)
        return 0

    dc = os.path.join(folder, "dc")
    conf = os.path.join(dc, "etc", "smb.conf")
    provision = ["ip", "netns", "exec", namespace, "samba-tool", "domain", "provision", "--realm=" + REALM,
                 "--domain=" + NETBIOS, "--adminpass=" + ADMIN_PASSWORD, "--server-role=dc",
                 "--dns-backend=SAMBA_INTERNAL", "--targetdir=" + dc, "--host-name=dc1", "--host-ip=127.0.0.1"]
    for name, value in smb_conf_options(dc).items():
        provision.append("--option=%s=%s" % (name, value))
    started = time.monotonic()
    run(provision)
    values = {"NAMESPACE": namespace, "REALM": REALM, "DOMAIN": NETBIOS, "DNS_DOMAIN": DNS_DOMAIN,
              "KRB5_CONFIG": krb5_conf(folder), "ADMIN": "Administrator", "ADMIN_PASSWORD": ADMIN_PASSWORD}
    for node in NODES:
        values["NODE_%s_KEYTAB" % node.replace("-", "_")] = add_service_node(folder, conf, node)
    bench = ["BENCH-%04d" % k for k in range(1, bench_computers + 1)]
    add_computers(conf, EXTRA_COMPUTERS + bench, [DISABLED_COMPUTER])
    # The tests reach the DC by its address, and ask for a ticket to ldap/<that address>.
    run(["samba-tool", "spn", "add", "ldap/127.0.0.1", "DC1$", "-s", conf])
    values["DC_ADDRESS"] = "127.0.0.1"
    values["ENABLED_COMPUTERS"] = ",".join(["DC1"] + NODES + EXTRA_COMPUTERS + bench)
    values["DISABLED_COMPUTERS"] = DISABLED_COMPUTER

    # The DC forks itself away and keeps its pid in the pid directory, inside the folder. Its log
    # is named on the command line too: it opens the compiled-in one before it reads the config.
    run(["ip", "netns", "exec", namespace, "samba", "-D", "-M", "single", "-s", conf,
         "-l", dc])
    deadline = time.monotonic() + READY_LIMIT_S
    while not (answering(namespace, 88) and answering(namespace, 389)):
        if time.monotonic() > deadline:
            down(folder)
            raise SystemExit("the test domain's KDC and LDAP did not answer within %d s" % READY_LIMIT_S)
        time.sleep(0.2)
    write_env(folder, values)
    print("test domain %s ready in %.1f s (namespace %s)" % (REALM, time.monotonic() - started, namespace))
    return 0


def main():
    extra = sys.argv[3:]
    if len(sys.argv) < 3 or sys.argv[1] not in ("up", "down") or len(extra) > 1 or (extra and not extra[0].isdigit()):
        sys.exit(__doc__)
    folder = os.path.abspath(sys.argv[2])
    if sys.argv[1] == "down":
        down(folder)
        return 0
    try:
        return up(folder, int(sys.argv[3]) if len(sys.argv) == 4 else 0)
    except subprocess.CalledProcessError as e:
        down(folder)
        sys.exit("the test domain could not be made: %s: %s" % (" ".join(e.cmd[:4]), e.stdout))


if __name__ == "__main__":
    sys.exit(main())
