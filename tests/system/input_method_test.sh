#!/usr/bin/env bash
# Types a name into the staff editor with a real Japanese input method:
# Xvfb, a session D-Bus, fcitx5 with Mozc and its Qt 6 front end, run as an
# ordinary user (Mozc refuses root). xdotool types romaji into 職員氏名,
# converts and commits it; the reading box must then hold the half-width
# katakana reading. A second run with the input method's preedit turned off:
# nothing breaks, no reading is made up, and the reading box stays editable.
#
#   input_method_test.sh BUILD_DIR [OUTPUT_FOLDER]
#
# Run as root it makes (once) the user "nakama-im" and runs itself as that
# user; run as an ordinary user it does the work itself.
set -euo pipefail
build="$(cd "${1:?build folder}" && pwd)"
out="${2:-}"
probe="$build/tests/ui/staff/staff_editor_im_probe"
here="$(cd "$(dirname "$0")" && pwd)"
[ -x "$probe" ] || { echo "input_method_test: $probe is not built" >&2; exit 1; }
for tool in Xvfb fcitx5 fcitx5-remote xdotool dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "input_method_test: $tool is missing (scripts/deps.sh installs it)" >&2; exit 1; }
done
if [ -z "$(find /usr/lib -name 'fcitx5-mozc.so' 2>/dev/null | head -1)" ] || [ ! -x /usr/lib/mozc/mozc_server ]; then
    echo "input_method_test: fcitx5-mozc is missing" >&2
    exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
    user=nakama-im
    id "$user" >/dev/null 2>&1 || useradd --create-home --home-dir "/var/tmp/$user" --shell /bin/bash "$user"
    # The user's own copies: the build folder may lie where it cannot read.
    stage="$(mktemp -d /tmp/nakama-im.XXXXXX)"
    trap 'rm -rf "$stage"' EXIT
    mkdir -p "$stage/tests/ui/staff"
    cp "$probe" "$stage/tests/ui/staff/"
    cp "$0" "$stage/input_method_test.sh"
    chmod -R a+rX "$stage"
    chown "$user" "$stage"
    status=0
    runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="/var/tmp/$user" LANG=C.UTF-8 \
        bash "$stage/input_method_test.sh" "$stage" "$stage/out" || status=$?
    if [ -n "$out" ] && [ -d "$stage/out" ]; then mkdir -p "$out" && cp -r "$stage/out/." "$out/"; fi
    exit "$status"
fi

# --- from here on as the ordinary user ---------------------------------------
work="$(mktemp -d /tmp/nakama-im-session.XXXXXX)"
mkdir -p "${out:=$work/out}"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/fcitx5/conf"
chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The X server, on the first free display it finds.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset > "$work/display" 2> "$work/xvfb.log" &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "input_method_test: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"

# The session bus the input method and the program talk over.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
    read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; dbus_pid=$pid"; })"
pids+=("$dbus_pid")

# fcitx5 with Mozc as the input method, on in every new text box.
cat > "$XDG_CONFIG_HOME/fcitx5/profile" <<CONF
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
CONF

fcitx_pid=""
start_fcitx() { # $1: True or False, the preedit shown in the text box
    [ -n "$fcitx_pid" ] && { kill "$fcitx_pid" 2>/dev/null || true; wait "$fcitx_pid" 2>/dev/null || true; }
    cat > "$XDG_CONFIG_HOME/fcitx5/config" <<CONF
[Behavior]
ActiveByDefault=True
ShareInputState=No
PreeditEnabledByDefault=$1
ShowInputMethodInformation=False
CONF
    fcitx5 --disable=wayland,waylandim,kimpanel,notificationitem,classicui,clipboard,xim \
        > "$work/fcitx5-$1.log" 2>&1 &
    fcitx_pid=$!
    pids+=("$fcitx_pid")
    # Ready once Mozc is loaded (fcitx5-remote says 0 until a box has focus).
    for _ in $(seq 1 300); do
        grep -q 'Loaded addon mozc' "$work/fcitx5-$1.log" && return 0
        sleep 0.1
    done
    echo "input_method_test: fcitx5 did not start" >&2
    cat "$work/fcitx5-$1.log" >&2
    exit 1
}

probe_in="" probe_pid=""
start_probe() { # $1: name of the run
    mkfifo "$work/in-$1"
    QT_IM_MODULE=fcitx QT_QPA_PLATFORM=xcb "$build/tests/ui/staff/staff_editor_im_probe" \
        < "$work/in-$1" > "$work/out-$1" 2> "$work/probe-$1.log" &
    probe_pid=$!
    pids+=("$probe_pid")
    exec {probe_in}> "$work/in-$1"
    for _ in $(seq 1 200); do grep -qs "^ready$" "$work/out-$1" && return 0; sleep 0.05; done
    echo "input_method_test: the staff editor did not come up" >&2
    cat "$work/probe-$1.log" >&2
    exit 1
}
ask() { # $1: run, $2: command; prints the probe's answer line
    local before
    before=$(wc -l < "$work/out-$1")
    echo "$2" >&"$probe_in"
    for _ in $(seq 1 100); do
        [ "$(wc -l < "$work/out-$1")" -gt "$before" ] && { tail -1 "$work/out-$1"; return 0; }
        sleep 0.05
    done
    echo "(no answer to $2)"
}
stop_probe() {
    echo quit >&"$probe_in"
    exec {probe_in}>&-
    wait "$probe_pid" 2>/dev/null || true
}
window_of() { xdotool search --sync --limit 1 --pid "$1" 2>/dev/null | head -1; }
keys() { sleep 0.3; xdotool "$@"; }
# Waits until the input method is on in the focused box (2 = active).
im_on() {
    for _ in $(seq 1 50); do [ "$(fcitx5-remote)" = "2" ] && return 0; fcitx5-remote -o; sleep 0.1; done
    echo "input_method_test: the input method does not switch on" >&2
    return 1
}

fail=0
# --- 1: preedit in the box: the reading is captured ---------------------------
start_fcitx True
start_probe capture
wid="$(window_of "$probe_pid")"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
im_on
# やまだ → 山田, a full-width space, たろう → 太郎: each converted and committed.
keys type --delay 60 yamada
keys key space
keys key Return
keys key space
keys type --delay 60 tarou
keys key space
keys key Return
sleep 0.5
shown="$(ask capture show)"
ask capture "shot $out/staff-editor-reading.png" >/dev/null
echo "captured with the preedit on:  $shown" | tee "$out/reading-capture.txt"
name="${shown#S_NAME=}"; name="${name%%$'\t'*}"
reading="${shown#*S_FURI=}"
if [ "$reading" != "ﾔﾏﾀﾞ ﾀﾛｳ" ]; then
    echo "input_method_test: the reading box holds \"$reading\", expected \"ﾔﾏﾀﾞ ﾀﾛｳ\"" >&2
    fail=1
fi
case "$name" in
    *[A-Za-z]*|"") echo "input_method_test: the name box holds \"$name\", not a converted name" >&2; fail=1 ;;
    *"　"*) ;;
    *) echo "input_method_test: the name \"$name\" lacks the full-width space between the two names" >&2; fail=1 ;;
esac
stop_probe

# --- 2: preedit off: commits only, the reading stays the user's ----------------
start_fcitx False
start_probe nopreedit
wid="$(window_of "$probe_pid")"
xdotool windowfocus --sync "$wid" 2>/dev/null || true
im_on
keys type --delay 60 yamada
keys key space
keys key Return
sleep 0.5
shown="$(ask nopreedit show)"
name="${shown#S_NAME=}"; name="${name%%$'\t'*}"
reading="${shown#*S_FURI=}"
if [ -z "$name" ] || [ "$name" != "${name//[A-Za-z]/}" ]; then
    echo "input_method_test: with the preedit off the name box holds \"$name\"" >&2
    fail=1
fi
if [ -n "$reading" ]; then
    echo "input_method_test: with the preedit off a reading \"$reading\" was made up" >&2
    fail=1
fi
# The user types the reading by hand, with the input method off.
ask nopreedit "focus FURI" >/dev/null || true
sleep 0.3
fcitx5-remote -c
keys type --delay 60 "yamada"
sleep 0.5
shown="$(ask nopreedit show)"
ask nopreedit "shot $out/staff-editor-preedit-off.png" >/dev/null
echo "with the preedit off, then typed: $shown" | tee -a "$out/reading-capture.txt"
reading="${shown#*S_FURI=}"
if [ "$reading" != "yamada" ]; then
    echo "input_method_test: the reading box took \"$reading\" from the keyboard, expected \"yamada\"" >&2
    fail=1
fi
stop_probe
if ! kill -0 "$fcitx_pid" 2>/dev/null; then
    echo "input_method_test: fcitx5 ended during the test" >&2
    fail=1
fi
[ "$fail" -eq 0 ] && echo "input_method_test: the reading was captured from Mozc, and without preedit the reading stays editable"
exit "$fail"
