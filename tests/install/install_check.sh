#!/usr/bin/env bash
# Checks of an installation into a prefix of its own.
#
#   install_check.sh setup     BUILD PREFIX            install (cmake --install)
#   install_check.sh layout    PREFIX PROGRAM:STATE... the installed files
#   install_check.sh entries   PREFIX PROGRAM:STATE... desktop entries, metainfo
#   install_check.sh run       PREFIX PROGRAM:STATE... start from the menu entries
#   install_check.sh uninstall PREFIX                  remove, check nothing is left
#
# STATE is "built" or "missing": a program that is not built in this tree is
# reported and makes the check end as skipped (77) after everything else.
# "run" needs an X server: scripts/with-xvfb.sh provides one.
set -euo pipefail

stage=$1
shift

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Each program's window class and icon.
window_class() { case "$1" in LumiClock*) echo Lumi_DTA_Clock ;; *) echo "$1" ;; esac; }
icon_name() { case "$1" in LumiClock*) echo lumiclock ;; *) echo "${1,,}" ;; esac; }

built=()
missing=()
sort_programs() {
    local entry
    for entry in "$@"; do
        case "$entry" in
        *:built) built+=("${entry%:built}") ;;
        *:missing) missing+=("${entry%:missing}") ;;
        *) fail "bad program argument '$entry'" ;;
        esac
    done
}
finish() {
    if [ ${#missing[@]} -gt 0 ]; then
        local program
        for program in "${missing[@]}"; do
            echo "SKIPPED: $program is not built in this tree, so it is not installed or checked" >&2
        done
        exit 77
    fi
    echo "passed: ${built[*]}"
    exit 0
}

case "$stage" in
setup)
    build=$1 prefix=$2
    rm -rf "$prefix"
    # cmake --install records what it installed in the build folder; a real
    # installation's record is kept and this one moved beside the prefix.
    manifest="$build/install_manifest.txt"
    [ -e "$manifest" ] && cp -p "$manifest" "$prefix.manifest-kept"
    cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 ||
        { cat "$prefix.log" >&2; fail "cmake --install"; }
    mv "$manifest" "$prefix.manifest"
    [ -e "$prefix.manifest-kept" ] && mv "$prefix.manifest-kept" "$manifest"
    echo "installed into $prefix"
    ;;

layout)
    prefix=$1
    shift
    sort_programs "$@"
    [ -d "$prefix" ] || fail "nothing installed in $prefix"
    for program in "${built[@]}"; do
        target="$prefix/lib/lumi/$program"
        [ -f "$target" ] && [ -x "$target" ] || fail "$target is not an executable"
        launcher="$prefix/bin/$program"
        [ -L "$launcher" ] || fail "$launcher is not a symbolic link"
        # Relative, so a staged tree (DESTDIR, the package) points at itself.
        [ "$(readlink "$launcher")" = "../lib/lumi/$program" ] ||
            fail "$launcher points at $(readlink "$launcher")"
        [ "$(readlink -f "$launcher")" = "$(readlink -f "$target")" ] || fail "$launcher is dangling"
        [ -f "$prefix/share/applications/$program.desktop" ] ||
            fail "no desktop entry for $program"
    done
    [ -f "$prefix/lib/lumi/holidays.txt" ] || fail "holidays.txt is not beside the programs"
    cmp -s "$prefix/lib/lumi/holidays.txt" "$(dirname "$0")/../../data/holidays.txt" ||
        fail "the installed holidays.txt differs from data/holidays.txt"
    [ -x "$prefix/bin/lumitool" ] && [ ! -L "$prefix/bin/lumitool" ] ||
        fail "lumitool is not installed in bin"
    for icon in lumimonthly lumiclock lumidaily; do
        for size in 16 32 48 64; do
            png="$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png"
            [ -f "$png" ] || fail "missing $png"
            # The PNG header's width and height.
            dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3 * 256 + $4 "x" $7 * 256 + $8}')
            [ "$dims" = "${size}x$size" ] || fail "$png is $dims"
        done
        svg="$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
        grep -q '<svg' "$svg" || fail "missing or empty $svg"
    done
    man_page="$prefix/share/man/man1/lumitool.1.gz"
    gzip -dc "$man_page" | grep -q '^\.TH LUMITOOL 1' || fail "$man_page is not lumitool's manual"
    if command -v man >/dev/null; then
        MANPATH="$prefix/share/man" man -P cat lumitool 2>/dev/null | grep -q 'unpack' ||
            fail "man cannot show lumitool's manual"
    fi
    # The installed lumitool runs and reads the installed holiday rules as
    # the calendars do: New Year's Day is a holiday in every year they cover.
    codes=$("$prefix/bin/lumitool" daycodes "$prefix/lib/lumi/holidays.txt" 2030 1) ||
        fail "the installed lumitool cannot read the installed holidays.txt"
    grep -q '"labels": \["[^"]' <<<"$codes" || fail "1 January 2030 is no holiday: $codes"
    # Nothing from the build folder (tests, benchmarks, tools) slips in.
    extra=$(cd "$prefix/bin" && ls | grep -vxE "lumitool|$(IFS='|'; echo "${built[*]}")" || true)
    [ -z "$extra" ] || fail "unexpected files in bin: $extra"
    finish
    ;;

entries)
    prefix=$1
    shift
    sort_programs "$@"
    command -v desktop-file-validate >/dev/null ||
        { echo "SKIPPED: desktop-file-validate is not installed (scripts/install-deps.sh installs it)" >&2; exit 77; }
    for program in "${built[@]}"; do
        entry="$prefix/share/applications/$program.desktop"
        # Errors and warnings fail; hints (such as a category that could be
        # widened) do not.
        report=$(desktop-file-validate "$entry" 2>&1) || fail "$entry: $report"
        if grep -E ': (error|warning):' <<<"$report"; then
            fail "$entry does not validate"
        fi
        grep -qx "Exec=$prefix/bin/$program" "$entry" || fail "$entry does not run $prefix/bin/$program"
        grep -qx "TryExec=$prefix/bin/$program" "$entry" || fail "$entry has no TryExec"
        grep -qx "Icon=$(icon_name "$program")" "$entry" || fail "$entry has the wrong icon"
        grep -qx "StartupWMClass=$(window_class "$program")" "$entry" ||
            fail "$entry names the wrong window class"
        case "$program" in
        LumiClock*)
            face=${program#LumiClock}
            face=${face:-1}
            grep -qx "Name\[zh_CN\]=Lumi☆时钟$face" "$entry" || fail "$entry: Chinese name"
            grep -qx "Name=LumiClock $face" "$entry" || fail "$entry: English name"
            grep -qx 'Categories=Utility;Clock;' "$entry" || fail "$entry: categories"
            ;;
        LumiMonthly | LumiDaily)
            title=月历
            [ "$program" = LumiDaily ] && title=日历
            grep -qx "Name\[zh_CN\]=Lumi☆$title" "$entry" || fail "$entry: Chinese name"
            grep -qx "Name=$program" "$entry" || fail "$entry: English name"
            grep -qx 'Categories=Utility;Calendar;' "$entry" || fail "$entry: categories"
            ;;
        esac
        # The icon the entry names is installed at every size.
        icon=$(icon_name "$program")
        for size in 16x16 32x32 48x48 64x64 scalable; do
            ls "$prefix/share/icons/hicolor/$size/apps/$icon".* >/dev/null 2>&1 ||
                fail "$entry names the icon $icon, which has no $size image"
        done
    done
    metainfo="$prefix/share/metainfo/org.lumi.Lumi.metainfo.xml"
    [ -f "$metainfo" ] || fail "no metainfo file"
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$metainfo" >&2 || fail "$metainfo does not validate"
    fi
    # Every launchable names an installed entry.
    for id in $(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo"); do
        program=${id%.desktop}
        if printf '%s\n' "${built[@]}" | grep -qx "$program"; then
            [ -f "$prefix/share/applications/$id" ] || fail "the metainfo names $id, which is not installed"
        fi
    done
    finish
    ;;

run)
    prefix=$1
    shift
    sort_programs "$@"
    for tool in xdotool xwininfo import identify; do
        command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed" >&2; exit 77; }
    done
    [ -n "${DISPLAY:-}" ] && [ -n "${XDG_DATA_HOME:-}" ] || fail "run needs scripts/with-xvfb.sh"
    work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-install.XXXXXX")
    pid=
    cleanup() {
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
        rm -f "$prefix"/lib/lumi/Lumi*.ini
        [ -e "$prefix/bin/holidays.txt" ] && mv "$prefix/bin/holidays.txt" "$prefix/lib/lumi/"
        rm -rf "$work"
    }
    trap cleanup EXIT
    printf 'leak:libQt6\nleak:libfontconfig\nleak:libxcb\nleak:libX11\nleak:libglib\nleak:libdbus\n' \
        >"$work/lsan.supp"
    export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

    main_window() { xdotool search --onlyvisible --class "^$(window_class "$1")\$" | head -n1 | grep .; }
    error_box() { xdotool search --onlyvisible --name '^Error$' | head -n1 | grep .; }
    stop() {
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        pid=
    }
    # start PROGRAM: runs the Exec line of the program's installed menu entry
    # and waits until its window or an error message box shows.
    start() {
        local entry="$prefix/share/applications/$1.desktop" exec_line
        exec_line=$(sed -n 's/^Exec=//p' "$entry")
        [ "$exec_line" = "$prefix/bin/$1" ] || fail "$entry runs '$exec_line'"
        "$exec_line" >"$work/$1.out" 2>"$work/$1.err" &
        pid=$!
        local deadline=$((SECONDS + 60))
        until main_window "$1" >/dev/null || error_box >/dev/null; do
            kill -0 "$pid" 2>/dev/null || { cat "$work/$1.err" >&2; fail "$1 ended at start"; }
            [ "$SECONDS" -lt "$deadline" ] || fail "$1 showed no window"
            sleep 0.1
        done
    }

    # The program ini beside each program names a company folder, which the
    # program puts into its save folder at start.
    company=LumiInstallCheck
    for program in "${built[@]}"; do
        printf '[%s]\r\nCompanyName=%s\r\n' "$program" "$company" >"$prefix/lib/lumi/$program.ini"
    done

    for program in "${built[@]}"; do
        start "$program"
        error_box >/dev/null && fail "$program reported a missing file"
        window=$(main_window "$program")
        # Started through the link, running from the program folder.
        [ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$prefix/lib/lumi/$program")" ] ||
            fail "$program runs $(readlink -f "/proc/$pid/exe")"
        [ -d "$XDG_DATA_HOME/$company/$program" ] || fail "$program did not read its program ini"
        [ ! -e "$XDG_DATA_HOME/$program" ] || fail "$program made a save folder without the company"
        # Its pictures came out of its archive: the window shows artwork,
        # not a blank surface.
        read -r x y w h < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4}
            /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
        sleep 0.5
        colours=$(import -window root -crop "${w}x$h+$x+$y" png:- | identify -format '%k' -)
        [ "$colours" -ge 16 ] || fail "$program shows only $colours colours"
        echo "$program: window ${w}x$h, $colours colours, save folder $company/$program"
        stop
    done

    # The calendars read holidays.txt from the program folder, not from the
    # folder of the launcher: moved to bin, it is reported missing.
    mv "$prefix/lib/lumi/holidays.txt" "$prefix/bin/holidays.txt"
    for program in LumiMonthly LumiDaily; do
        printf '%s\n' "${built[@]}" | grep -qx "$program" || continue
        start "$program"
        error_box >/dev/null || fail "$program did not miss holidays.txt in the program folder"
        echo "$program: holidays.txt outside the program folder is reported missing"
        stop
    done
    mv "$prefix/bin/holidays.txt" "$prefix/lib/lumi/holidays.txt"
    finish
    ;;

uninstall)
    prefix=$1
    [ -f "$prefix.manifest" ] || fail "no record of the installation"
    cmake -DLUMI_MANIFEST="$prefix.manifest" -P "$(dirname "$0")/../../cmake/LumiInstall.cmake" \
        >"$prefix.uninstall.log" 2>&1 || { cat "$prefix.uninstall.log" >&2; fail "uninstall"; }
    left=$(find "$prefix" ! -type d)
    [ -z "$left" ] || fail "left after uninstalling: $left"
    for folder in lib/lumi share/lumi; do
        [ ! -e "$prefix/$folder" ] || fail "$folder is left after uninstalling"
    done
    rm -rf "$prefix" "$prefix.manifest" "$prefix.log" "$prefix.uninstall.log"
    echo "uninstalled"
    ;;

*)
    fail "unknown stage $stage"
    ;;
esac
