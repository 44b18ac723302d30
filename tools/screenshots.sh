#!/usr/bin/env bash
# Writes PNG pictures of the library's windows as the Windows build shows them under Wine: the
# registry-import dialog filled with sample names, the error-report template 30491, and the
# message box for -11049 with the argument Setup.
#
# Usage: tools/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
#   BUILD_DIR   the MinGW build (default build/mingw; configured and built when bin/bwcore.exe is
#               missing)
#   OUTPUT_DIR  where the pictures go (default docs/screenshots)
#
# Needs wine, Xvfb, xdotool and ImageMagick's import (Debian: wine xvfb xdotool imagemagick). Not
# part of CI. Each window is shown on a private virtual X server, photographed once it has been
# painted, and closed with Escape (the dialog's cancel, the box's only button).
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath -m "${1:-build/mingw}")
out=${2:-docs/screenshots}

for tool in wine Xvfb xdotool import; do
    command -v "$tool" >/dev/null || {
        echo "screenshots: $tool is not installed" >&2
        exit 1
    }
done

if [ ! -f "$build/bin/bwcore.exe" ]; then
    cmake --preset mingw
    cmake --build "$build" --target bwcore_cli
fi
mkdir -p "$out"

export WINEPREFIX="$build/screenshots-wineprefix"
export WINEDEBUG=-all

# The first free display from :90 on; Wine starts on it, so that its desktop is there too.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done

# The prefix (above) is our own, so that this setting does not reach the tests' prefix: without a
# window manager on the virtual screen, Wine draws the captions and frames itself only for windows
# it does not hand to a manager.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

# shot FILE TITLE ARGUMENTS...: runs bwcore.exe with ARGUMENTS, waits for its window named TITLE,
# writes it to FILE and closes it.
shot() {
    local file=$1 title=$2
    shift 2
    wine "$build/bin/bwcore.exe" "$@" >/dev/null &
    local program=$!
    local window
    window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1) || {
        echo "screenshots: no window \"$title\" from bwcore $*" >&2
        kill "$program" 2>/dev/null || true
        return 1
    }
    # Focused, so that the caption is drawn active; then time to paint.
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    sleep 2
    import -window "$window" "$out/$file"
    xdotool key Escape 2>/dev/null || true
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    echo "screenshots: $out/$file"
}

# A window that does not come stops neither the others nor the script's failure at the end.
failed=0
shot regimport.png "Import Registry File" dialog regimport \
    --key 'HKEY_LOCAL_MACHINE\Software\Larkspan\Sample' --value InstallDir \
    --new 'C:\Program Files\Sample' || failed=1
shot error-report.png "Brindlewick" dialog show 30491 || failed=1
shot msgbox-11049.png "Brindlewick" msgbox -11049 Setup || failed=1
exit $failed
