#!/usr/bin/env bash
# Takes the README's pictures of the program: the main window after a scan of
# a small demo folder, and the object information window of the first file.
# Runs the real program on a virtual X display (Xvfb), driven with xdotool,
# with its own settings file, program folder and demo folder in a temporary
# folder that is removed afterwards. Writes docs/screenshots/*.png.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" build screenshots

if [[ ! -x "$root/build/pylomir" ]]; then
    [[ -f "$root/build/CMakeCache.txt" ]] || cmake --preset dev -S "$root" >/dev/null
fi
cmake --build "$root/build" --target pylomir

out="$root/docs/screenshots"
mkdir -p "$out"
work="$(mktemp -d "${TMPDIR:-/tmp}/pylomir-shots.XXXXXX")"
xvfb_pid=""
app_pid=""
cleanup() {
    [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The program folder with the shipped filters, backup and log folders, and
# settings that name them and the "Mniej bezpieczny" mode, so the program
# starts without its first-start message and finds logs too.
home="$work/home"
mkdir -p "$home/Filtry" "$work/kopie" "$work/logi"
cp "$root"/data/Filtry/* "$home/Filtry/"
cat >"$work/Pylomir.ini" <<EOF
[Skanowan]
Liczba=0
Data=0
Skasowano=0
SkasowanoMB=0
LOGKatalog=$work/logi/
BAKKatalog=$work/kopie/
RozmiarIgnoral=670000

[Ustawienia]
Mniej_bezp=1
EOF

# The demo folder: a few disposable files among files to keep. It is reached
# in the folder tree by typing the names /tmp and its own, unique there.
demo_name="pylomir-demo-$$-$RANDOM"
demo="/tmp/$demo_name"
mkdir -p "$demo/Raporty" "$demo/Dokumenty"
printf 'tymczasowe dane\n' >"$demo/instalator.tmp"
printf 'kopia\n' >"$demo/Dokumenty/umowa.doc.bak"
printf 'szkic\n' >"$demo/Dokumenty/~umowa.doc"
printf 'umowa\n' >"$demo/Dokumenty/umowa.doc"
printf 'log\n' >"$demo/Raporty/scandisk.log"
printf 'log\n' >"$demo/Raporty/instalacja.log"
printf 'notatki\n' >"$demo/notatki.txt"
trap 'cleanup; rm -rf "$demo"' EXIT

# A free display number.
display=""
for n in $(seq 90 199); do
    if [[ ! -e "/tmp/.X$n-lock" && ! -e "/tmp/.X11-unix/X$n" ]]; then
        display=":$n"
        break
    fi
done
[[ -n "$display" ]] || { echo "screenshots.sh: no free X display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done

export PYLOMIR_HOME="$home" PYLOMIR_SETTINGS="$work/Pylomir.ini" QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$root/build/pylomir" >"$work/pylomir.log" 2>&1 &
app_pid=$!

# Waits for the main window; a message box before it (settings the program
# could not use) is answered with Enter.
main=""
for _ in $(seq 100); do
    main="$(xdotool search --onlyvisible --name 'Pylomir 8\.5 Professional' 2>/dev/null | head -n1)" || true
    [[ -n "$main" ]] && break
    box="$(xdotool search --onlyvisible --name '^Pylomir 8\.5 Pro$' 2>/dev/null | head -n1)" || true
    if [[ -n "$box" ]]; then
        xdotool windowfocus --sync "$box" key Return
    fi
    sleep 0.2
done
[[ -n "$main" ]] || { echo "screenshots.sh: the main window did not show" >&2; cat "$work/pylomir.log" >&2; exit 1; }
sleep 1

# Without a window manager the keyboard goes where the pointer is.
click() { xdotool mousemove --window "$main" "$1" "$2" click --repeat "${3:-1}" --delay 80 1; }
keys() { xdotool mousemove --window "$main" 100 100 windowfocus --sync "$main" key --delay 120 "$@"; }
type_text() { xdotool type --delay 40 "$1"; }

# The folder tree: from the root down to the temporary folder, then the demo
# folder, each found by typing its name (the tree reads folders as it goes).
click 100 100
keys Home Left Right
sleep 0.5
keys Right
type_text tmp
sleep 0.3
keys Right
sleep 1
keys Right
type_text "$demo_name"
sleep 0.5

# ">> Rozpocznij skanowanie", then the first found file.
click 98 17
sleep 3
click 300 45
sleep 1
import -window "$main" "$out/main-window.png"

# The object information window opens on a double click.
click 300 45 2
info=""
for _ in $(seq 25); do
    info="$(xdotool search --onlyvisible --name '^Szczegóły obiektu' 2>/dev/null | head -n1)" || true
    [[ -n "$info" ]] && break
    sleep 0.2
done
sleep 0.5
if [[ -n "$info" ]]; then
    import -window "$info" "$out/object-info.png"
    xdotool windowfocus --sync "$info" key Escape || true
else
    echo "screenshots.sh: no object information window; main window taken instead" >&2
    import -window "$main" "$out/object-info.png"
fi

# Small files: no metadata, the strongest compression.
for png in "$out/main-window.png" "$out/object-info.png"; do
    mogrify -strip -define png:compression-level=9 "$png"
done
ls -l "$out"
