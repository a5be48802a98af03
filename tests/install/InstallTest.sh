#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the menu entry and the metainfo with the desktop's
# own tools, and starts the installed program as a user would: its files must land in the user's data
# folder, nothing may be copied there or written beside the program, and a second start must hand over
# to the first and end with 0.
#   InstallTest.sh build-folder library-folder
set -euo pipefail
build=$1
libdir=$2

work=$(mktemp -d)
first=
cleanup() {
    if [ -n "$first" ]; then
        kill "$first" 2>/dev/null || true
        wait "$first" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    [ ! -s "$work/first.log" ] || sed 's/^/first program: /' "$work/first.log" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

desktop-file-validate "$prefix/share/applications/org.vantu.Vantu.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.vantu.Vantu.metainfo.xml" >/dev/null
for file in bin/vantu "$libdir/vantu/libvantu_stream.so" share/vantu/Vantu10.Hlp share/vantu/Notify.Wav \
    share/vantu/pictures/vantu.svg share/icons/hicolor/48x48/apps/vantu.png \
    share/icons/hicolor/256x256/apps/vantu.png share/icons/hicolor/scalable/apps/vantu.svg; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
before=$(cd "$prefix" && find . | sort)

mkdir -m 700 "$work/home" "$work/runtime"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
data=$XDG_DATA_HOME/vantu
command=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.vantu.Vantu.desktop")
PATH=$prefix/bin:$PATH $command 2>"$work/first.log" &
first=$!

# The program answers later starts before it makes its folder for the pictures.
for _ in $(seq 200); do
    [ -d "$data/Detections" ] && break
    kill -0 "$first" 2>/dev/null || fail "the installed program ended at start"
    sleep 0.1
done
[ -d "$data/Detections" ] || fail "no Detections folder in $data"
[ "$(stat -c %a "$data")" = 700 ] || fail "$data is readable by others"
for copied in Notify.Wav Vantu10.Hlp libvantu_stream.so; do
    [ ! -e "$data/$copied" ] || fail "$copied was copied into $data"
done

timeout 20 "$prefix/bin/vantu" || fail "a second start ended with $? instead of handing over"
kill -0 "$first" 2>/dev/null || fail "the first program ended when the second started"

after=$(cd "$prefix" && find . | sort)
[ "$before" = "$after" ] || fail "the program wrote into its installation: $(diff <(echo "$before") <(echo "$after"))"
echo "installed, validated, started in $data, second start handed over"
