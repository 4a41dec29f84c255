#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build under a prefix other than the configured one and starts the installed
# programs with an empty home: they must find their data beside themselves and seed the user's
# copy. Usage: install-test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/opt/varnix-moved
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install test: $*" >&2; exit 1; }
res=$prefix/share/varnix/res
[[ -f $res/MainWnd.xml ]] || fail "no resource tree under $res"
[[ ! -e $res/sim && ! -e $res/README.md ]] || fail "development files installed"
[[ -z $(find "$res/Home/Icons" -name '*.png') ]] || fail "run-time unpacked images installed"
[[ -f $prefix/share/varnix/examples/demo.json ]] || fail "demo scenario not among the examples"

home=$work/home
mkdir -p "$home"
run() { env -i HOME="$home" PATH=/usr/bin:/bin VARNIX_BACKEND=sim "$@"; }
out=$(cd "$work" && run "$prefix/bin/varnixctl" devices) || fail "installed varnixctl failed"
grep -q ' MouseA 1$' <<<"$out" || fail "demo devices not listed: $out"
user=$home/.local/share/varnix/res
[[ -f $user/.varnix-seed && -f $user/MainWnd.xml ]] || fail "user folder not seeded"

if [[ -x $prefix/bin/varnix ]]; then
    rm -rf "$home/.local"
    (cd "$work" && run QT_QPA_PLATFORM=offscreen VARNIX_SCREENSHOT="$work/shot.png" \
        timeout 60 "$prefix/bin/varnix") >/dev/null || fail "installed varnix did not start"
    [[ -s $work/shot.png ]] || fail "installed varnix drew no window"
    [[ -f $user/.varnix-seed ]] || fail "varnix did not seed the user folder"
fi
echo "install test passed"
