#!/bin/sh
# Checks that the code keeps to its layout: platform <- engine <- gui and cli, and inside gui
# kit <- gl <- pages <- windows <- shell, a file including only its own folder and those before
# it; the engine and the platform never see GTK, GDK or GL; zemo-cli links no GTK or GL library.
# Usage: check-layout.sh [BUILD_DIR] (build/ when not given). Exits 1 and names each breach.
set -eu
cd "$(dirname "$0")/.."
build="${1:-build}"
failed=0

breach() {
    echo "check-layout: $1" >&2
    failed=1
}

# The include lines of the files under a folder, as "file:line:text".
includes() {
    grep -rnE '^[[:space:]]*#[[:space:]]*include' "$1" --include='*.h' --include='*.cpp' || true
}

# Reports every include line of folder $1 that matches the extended expression $2, saying why.
refuse() {
    hits=$(includes "$1" | grep -E "$2" || true)
    if [ -n "$hits" ]; then
        breach "$3:"
        echo "$hits" | sed 's/^/    /' >&2
    fi
}

toolkit='[<"](gtk/|gdk/|GL/|gtkgl)'
for folder in src/engine src/platform; do
    refuse "$folder" "$toolkit" "$folder includes GTK, GDK or GL"
    refuse "$folder" '"(gui|cli)/' "$folder includes the interface or zemo-cli"
done
refuse src/platform '"engine/' "src/platform includes the engine"
refuse src/cli '"gui/' "src/cli includes the interface"
refuse src/gui '"cli/' "src/gui includes zemo-cli"

# Inside the interface, each folder and the folders after it in this order.
set -- kit gl pages windows shell
while [ $# -gt 1 ]; do
    folder=$1
    shift
    later=$(echo "$@" | tr ' ' '|')
    refuse "src/gui/$folder" "\"gui/($later)/" "src/gui/$folder includes a gui folder after it"
done

if [ ! -x "$build/zemo-cli" ]; then
    breach "$build/zemo-cli not found: build it first"
else
    linked=$(ldd "$build/zemo-cli" | grep -iE 'lib(gtk|gdk|gdk_pixbuf|gl|glu|glx|gtkglext|gdkglext)[-.]' || true)
    if [ -n "$linked" ]; then
        breach "zemo-cli links GTK or GL:"
        echo "$linked" | sed 's/^/    /' >&2
    fi
fi

[ "$failed" -eq 0 ] && echo "check-layout: the layout holds"
exit "$failed"
