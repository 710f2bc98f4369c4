#!/usr/bin/env bash
# The harness's checks on made-up inputs: each must catch what is wrong, or a green scenario
# would mean nothing. (A check that wrongly fails shows up as failing scenarios instead.)
#   selftest.sh <scratch folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
E2E_WORK=$(mktemp -d "${1:-/tmp}/selftest.XXXXXX")
E2E_RESULTS=$E2E_WORK/results
mkdir -p "$E2E_RESULTS"
trap 'rm -rf "$E2E_WORK"' EXIT
source "$here/harness.sh"
source "$here/checks.sh"

bad=0
# must_fail <description> <check command...>: the check, run quietly, must report a failure.
must_fail() {
    local what=$1 out
    shift
    e2e_failed=0
    out=$("$@"; echo "failed=$e2e_failed")
    if [[ $out == *failed=0 ]]; then echo "WRONG: $what passed: $out"; bad=$((bad + 1))
    else echo "ok: $what caught"; fi
}

# A 4-column picture of the backdrop's rule for 768 rows, every step <shift> rows late, with one
# odd pixel in row <row> when given.
gradient_picture() {  # gradient_picture <name> <shift> [<row> <r> <g> <b>]
    awk -v shift="$2" -v odd="${3:--1}" -v r="${4:-0}" -v g="${5:-0}" -v b="${6:-0}" '
        BEGIN { h = 768; print "P3"; print 4, h; print 255
            for (y = 0; y < h; y++) { v = 255 - int((y - shift) / 3); if (v > 255) v = 255; if (v < 0) v = 0
                for (x = 0; x < 4; x++) print (y == odd ? r " " g " " b : "0 0 " v) } }' |
        convert ppm:- "$E2E_RESULTS/$1.png"
}
gradient_picture late 1
gradient_picture speck 0 400 0 0 0
gradient_picture plain 0
must_fail "gradient steps one row late" check_gradient late 0
must_fail "one black pixel in the gradient" check_gradient speck 3
must_fail "a missing screenshot" check_gradient nothing 0

# The backdrop's top with a block "title" at (30, 35) and its shadow 2 left and 3 up of it.
convert "$E2E_RESULTS/plain.png" -scale '256x768!' -filter point -resize '1024x768!' \
    -fill black -draw "rectangle 28,32 198,57" -fill yellow -draw "rectangle 30,35 200,60" \
    "$E2E_RESULTS/title-wrong.png"
must_fail "title shadow on the wrong side" check_title title-wrong
must_fail "no title at all" check_title plain

convert -size 204x66 xc:red -fill white -draw "rectangle 20,10 100,50" "$E2E_WORK/logo.bmp"
convert -size 1024x768 xc:blue "$E2E_WORK/logo.bmp" -geometry +411+696 -composite \
    "$E2E_RESULTS/logo-moved.png"
must_fail "logo one pixel off" check_logo logo-moved 410 696 "$E2E_WORK/logo.bmp" 52

WINEPREFIX=$E2E_WORK/prefix
mkdir -p "$WINEPREFIX/drive_c/Program Files/FileTidemark" "$WINEPREFIX/dosdevices"
cat >"$WINEPREFIX/system.reg" <<'REG'
WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FileTidemark] 1796583075
"DisplayName"="FileTidemark"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other] 1796583075
"UnInstallString"="C:\\Other\\UnInstal.Exe"
"Size"=dword:00000010
REG
uninstall='Software\microsoft\windows\currentversion\uninstall'
must_fail "another key's value taken for this key's" \
    expect_reg HKLM "$uninstall\\FileTidemark" UnInstallString 'C:\Other\UnInstal.Exe'
must_fail "a wrong text" expect_reg HKLM "$uninstall\\FileTidemark" DisplayName Other
must_fail "a number taken for a text" expect_reg HKLM "$uninstall\\Other" Size 16
must_fail "a present value reported missing" expect_no_reg HKLM "$uninstall\\FileTidemark" DisplayName

ln -sfn ../drive_c "$WINEPREFIX/dosdevices/c:"
printf 'main' >"$WINEPREFIX/drive_c/Program Files/FileTidemark/Tidemark.Exe"
printf 'mains' >"$E2E_WORK/longer"
# Paths are matched without regard to case: a file written in another case is there.
must_fail "a present file reported missing" expect_no_file 'C:\PROGRAM FILES\filetidemark\TIDEMARK.EXE'
must_fail "one byte more" expect_file 'C:\Program Files\FileTidemark\Tidemark.Exe' "$E2E_WORK/longer"
must_fail "a missing file" expect_file 'C:\Program Files\FileTidemark\Tidemark._LF'
must_fail "a folder taken for a file" expect_file 'C:\Program Files\FileTidemark'
must_fail "a wrong size" expect_size 'C:\Program Files\FileTidemark\Tidemark.Exe' 5
place_file 'C:\Users\notes.txt' "kept"
printf 'changed' >"$WINEPREFIX/drive_c/Users/notes.txt"
must_fail "a changed file of the user's" expect_unchanged 'C:\Users\notes.txt'

printf '%s\n' '{"ev":"window","caption":"Program Group"}' >"$E2E_RESULTS/robot.log"
must_fail "a window seen" expect_not_seen '"caption":"Program Group"' "group page"

# A shared step sequence keeps every check its words ask for.
steps=$(printf '%s\n' '@application_error IoError "Disk full."' | expand_steps)
if [[ $steps == *'has 65535 "IoError"'*'has 65535 "Disk full."'*'exit 1' ]]; then
    echo "ok: an error report's parts expanded"
else echo "WRONG: @application_error gave: $steps"; bad=$((bad + 1)); fi

if [ $bad -gt 0 ]; then echo "$bad harness checks gave the wrong verdict"; exit 1; fi
echo "every harness check gave the right verdict"
