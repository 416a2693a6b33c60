#!/bin/sh
# Installs Zemo into a temporary prefix and runs the installed programs as a user who cannot write
# there: zemo.ini appears in the configuration folder, plots land in the data folder, nothing is
# written under the prefix. Then checks the desktop entry and the Debian package's dependencies.
# Usage: install_test.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix="$work/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

# Root may write anywhere: the programs then run as nobody, in folders nobody owns. Any other
# user finds the prefix read-only.
as_user() { "$@"; }
if [ "$(id -u)" -ne 0 ]; then
    chmod -R a-w "$prefix"
else
    if command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
        as_user() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
    elif command -v runuser >/dev/null && id nobody >/dev/null 2>&1; then
        as_user() { runuser -u nobody -- "$@"; }
    else
        echo "SKIP: run as root without setpriv, runuser or the user nobody" >&2
        exit 77
    fi
fi
home="$work/home"
mkdir -p "$home"
chmod 1777 "$home"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
before=$(cd "$prefix" && find . -exec ls -ld --time-style=+%s {} + | sort)

# The run-time folder is found from the program's own location, whatever the working directory.
cd "$work"
as_user "$prefix/bin/zemo-cli" info "$prefix/share/zemo/samples/evart.idf" >"$home/info.txt" ||
    fail "the installed zemo-cli cannot read the sample capture"
grep -q '^marks: 22$' "$home/info.txt" || fail "info printed $(cat "$home/info.txt")"
run_plot="--no-run"
command -v gnuplot >/dev/null && run_plot=""
as_user "$prefix/bin/zemo-cli" plot $run_plot "$prefix/share/zemo/samples/evart.idf:0:0:100:RSHO:1" ||
    fail "zemo-cli plot failed"
[ -s "$XDG_DATA_HOME/zemo/gplot/order.gnu" ] || fail "no plot in the data folder"
[ -n "$run_plot" ] || [ -s "$XDG_DATA_HOME/zemo/gplot/output.png" ] || fail "gnuplot drew no picture in the data folder"

# The desktop program on a display of its own, with two captures named on the command line: it
# seeds zemo.ini from the shipped defaults, prepares its working folder and opens both as layers,
# remembered newest first among the recent captures; SIGTERM quits it.
sample="$prefix/share/zemo/samples/evart.idf"
cp "$sample" "$home/walk 2.idf"
# Xvfb picks a free display itself (-displayfd): no race with other servers starting.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
i=0
until [ -s "$work/display" ]; do
    i=$((i + 1)); [ $i -lt 100 ] || fail "Xvfb did not start"; sleep 0.1
done
as_user env DISPLAY=":$(cat "$work/display")" sh -c '
    "$1" "$2" "$3" & pid=$!
    i=0
    while [ "$(cat "$XDG_CONFIG_HOME/zemo/recent" 2>/dev/null | wc -l)" -lt 2 ] || [ ! -d "$XDG_DATA_HOME/zemo/gplot" ]; do
        i=$((i + 1)); [ $i -lt 300 ] || break; sleep 0.1
    done
    kill -TERM $pid; wait $pid' sh "$prefix/bin/zemo" "$sample" "$home/walk 2.idf" 2>"$home/zemo.log" ||
    fail "the installed zemo did not run and quit cleanly: $(cat "$home/zemo.log")"
cmp -s "$XDG_CONFIG_HOME/zemo/zemo.ini" "$prefix/share/zemo/defaults/zemo.ini" ||
    fail "zemo.ini was not seeded in the configuration folder"
[ -d "$XDG_DATA_HOME/zemo/gplot" ] || fail "the data folder was not prepared"
[ "$(cat "$XDG_CONFIG_HOME/zemo/recent")" = "$(printf '%s\n%s' "$home/walk 2.idf" "$sample")" ] ||
    fail "the recent captures are not the two named: $(cat "$XDG_CONFIG_HOME/zemo/recent")"

after=$(cd "$prefix" && find . -exec ls -ld --time-style=+%s {} + | sort)
[ "$before" = "$after" ] || fail "files were written under the prefix: $(printf '%s\n%s\n' "$before" "$after" | sort | uniq -u)"

desktop-file-validate "$prefix/share/applications/zemo.desktop" || fail "the desktop entry is not valid"
grep -q '^MimeType=.*c3d' "$prefix/share/applications/zemo.desktop" || fail "the desktop entry opens no C3D"
xmllint --noout "$prefix/share/mime/packages/zemo.xml" || fail "zemo.xml is not well-formed"

# The package: its dependencies are the packages of the libraries the programs link.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack failed"
deb=$(ls "$work/package"/zemo_*_amd64.deb) || fail "no zemo_VERSION_amd64.deb"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libgtk2.0-0 libgtkglext1 libxml2 libc6; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q "gnuplot-nox.*ffmpeg" || fail "gnuplot-nox and ffmpeg are not recommended"
echo "installed, ran and packaged"
