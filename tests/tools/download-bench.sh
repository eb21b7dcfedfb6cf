# Sourced by the scripts that run the program against local servers (the
# road and end-to-end tests, the benchmarks, the demo). Needs $work and the
# prefix ($WINEPREFIX) of the caller; the helpers' programs come from $build
# (default: the tests' build folder).
bench_build=${build:-$KORVIX_BUILD_DIR}

# windows_path PATH: the Windows form of a Unix path (Wine's Z: drive is /),
# without starting Wine for it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# trust_test_ca: a CA made now (in $work/ca, with a certificate for
# localhost) and trusted in the prefix's LocalMachine Root store, with a
# second trusted CA that issues a twin of the test publisher's name. Their
# lists of revoked certificates go into $work/www, which nginx serves.
trust_test_ca() {
    "$(dirname "${BASH_SOURCE[0]}")/make-test-ca" "$work/ca"
    mkdir -p "$work/www"
    cp "$work/ca/crl/"*.crl "$work/www/"
    local ca
    for ca in ca second-ca; do
        wine_set_up "$bench_build/tests/tools/add_test_ca.exe" "$(windows_path "$work/ca/$ca.pem")"
    done
}

# wine_set_up PROGRAM ARGS...: a set-up step under Wine, tried twice (a Wine
# start can fail on its own); a failed try shows its output, so no set-up
# step ends a test without a word.
wine_set_up() {
    local out try
    for try in 1 2; do
        out=$(wine "$@" 2>&1) && return 0
        printf 'set-up under Wine failed (try %s): %s\n%s\n' "$try" "$*" "$out" >&2
    done
    return 1
}

# make_fake_payload FILE BYTES [SIGNER [RELEASE]]: the fake installer with
# random bytes after its image, about BYTES in all, signed as the program
# requires (Authenticode) with SIGNER's certificate of trust_test_ca: signer
# (the test builds' publisher, the default), other, revoked, rogue, twin, or
# none (unsigned). RELEASE: fake_installer (the current one, the default),
# fake_installer_old or fake_installer_unversioned.
make_fake_payload() {
    local signer=${3:-signer} release=${4:-fake_installer}
    mkdir -p "$(dirname "$1")"
    cp "$bench_build/tests/fixtures/$release.exe" "$1.unsigned"
    head -c $(($2 - $(stat -c %s "$1.unsigned"))) /dev/urandom >>"$1.unsigned"
    if [ "$signer" = none ]; then
        mv "$1.unsigned" "$1"
        return
    fi
    rm -f "$1"
    osslsigncode sign -certs "$work/ca/$signer.pem" -key "$work/ca/$signer.key" -h sha256 \
        -in "$1.unsigned" -out "$1" >/dev/null
    rm -f "$1.unsigned"
}

# register_browser_stand_in: the program that opens http and https addresses
# in the prefix becomes browser_stand_in.exe, which appends each address to
# $work/browser.txt and the program that started it to $work/browser.txt.parent.
# unregister_browser_stand_in gives the addresses back to Wine's browser.
register_browser_stand_in() {
    : >"$work/browser.txt"
    : >"$work/browser.txt.parent"
    local command scheme
    command="\"$(windows_path "$bench_build/tests/tools/browser_stand_in.exe")\" \"$(windows_path "$work/browser.txt")\" \"%1\""
    for scheme in http https; do
        wine_set_up reg add "HKCR\\$scheme\\shell\\open\\command" /ve /d "$command" /f
    done
}
unregister_browser_stand_in() {
    local scheme
    for scheme in http https; do
        timeout 30 wine reg add "HKCR\\$scheme\\shell\\open\\command" /ve \
            /d '"C:\windows\system32\winebrowser.exe" "%1"' /f >/dev/null 2>&1 || true
    done
}

# set_user_proxy named PROXY | script ADDRESS: the current user's proxy
# settings in the prefix, as the proxy page of Windows' settings writes them:
# the DefaultConnectionSettings blob under Internet Settings\Connections
# (Wine's WinHTTP reads only that) and the ProxyEnable, ProxyServer,
# ProxyOverride and AutoConfigURL values (Wine's WinINet reads those). named:
# that proxy, local names bypassed; script: the auto-configuration script at
# ADDRESS alone. Auto-detection is off in both.
set_user_proxy() {
    python3 - "$1" "$2" >"$work/proxy.reg" <<'PY'
import struct, sys
kind, value = sys.argv[1], sys.argv[2]
proxy, bypass, script = (value, "<local>", "") if kind == "named" else ("", "", value)
# Flags: 1 direct, 2 named proxy, 4 script, 8 auto-detection.
flags = 1 | (2 if proxy else 0) | (4 if script else 0)
blob = struct.pack("<III", 0x46, 1, flags)
for text in (proxy, bypass, script):
    blob += struct.pack("<I", len(text)) + text.encode("ascii")
blob += bytes(32)
key = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
print("REGEDIT4\n")
print("[%s]" % key)
print('"ProxyEnable"=dword:%08x' % (1 if proxy else 0))
if proxy:
    print('"ProxyServer"="%s"' % proxy)
    print('"ProxyOverride"="%s"' % bypass)
if script:
    print('"AutoConfigURL"="%s"' % script)
print("\n[%s\\Connections]" % key)
print('"DefaultConnectionSettings"=hex:%s' % ",".join("%02x" % b for b in blob))
PY
    wine_set_up regedit /S "$(windows_path "$work/proxy.reg")"
}

# end_windows_program NAME: ends, by pid, the processes of this network
# namespace whose command line names NAME (a program started through
# exit_code.exe outlives its parent's end; only ours live in the namespace).
end_windows_program() {
    local p ours
    ours=$(readlink /proc/self/ns/net)
    for p in $(pgrep -f "$1" || true); do
        [ "$(readlink "/proc/$p/ns/net" 2>/dev/null)" = "$ours" ] && kill -KILL "$p" 2>/dev/null || true
    done
}

# start_fault_server RULES [extra args]: our fault server with the payload
# $payload at korvix/velmora-korvix_setup.exe on 443 (TLS, the CA of
# trust_test_ca) and the CA's lists of revoked certificates, logging to
# $work/server.log; sets fault_pid, which the caller stops.
start_fault_server() {
    local rules=$1
    shift
    rm -f "$work/ready"
    python3 "$KORVIX_SOURCE_DIR/tests/servers/fault_server.py" --payload "$payload" \
        --path korvix/velmora-korvix_setup.exe --log "$work/server.log" --rules "$rules" \
        --tls-port 443 --cert "$work/ca/localhost.pem" --key "$work/ca/localhost.key" \
        --static "$work/ca/crl" --ready "$work/ready" "$@" &
    fault_pid=$!
    for _ in $(seq 200); do [ -f "$work/ready" ] && return 0; sleep 0.05; done
    echo "fault server did not start" >&2
    return 1
}
