#!/usr/bin/env bash
# The harness's checks on made-up inputs: each must pass what is right and catch what is wrong,
# or a green scenario would mean nothing.
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
# expect_outcome <ok|FAILED> <description> <check command...>: runs a check quietly and compares
# its verdict with the one it must give.
expect_outcome() {
    local want=$1 what=$2 out
    shift 2
    e2e_failed=0
    out=$("$@"; echo "failed=$e2e_failed")
    local got=ok
    [[ $out == *failed=0 ]] || got=FAILED
    if [ "$got" = "$want" ]; then echo "ok: $what ($want)"
    else echo "WRONG: $what gave $got: $out"; bad=$((bad + 1)); fi
}

# --- the gradient rule -----------------------------------------------------------------------

# A 4-column picture of the backdrop's rule for a screen height; <shift> moves every step down.
gradient_picture() {  # gradient_picture <name> <height> <shift> [<row> <r> <g> <b>: one odd pixel]
    awk -v h="$2" -v shift="$3" -v odd="${4:--1}" -v r="${5:-0}" -v g="${6:-0}" -v b="${7:-0}" '
        BEGIN { band = int(h / 255); print "P3"; print 4, h; print 255
            for (y = 0; y < h; y++) { v = 255 - int((y - shift) / band); if (v > 255) v = 255; if (v < 0) v = 0
                for (x = 0; x < 4; x++) print (y == odd ? r " " g " " b : "0 0 " v) } }' |
        convert ppm:- "$E2E_RESULTS/$1.png"
}
gradient_picture right768 768 0
gradient_picture right480 480 0
gradient_picture late768 768 1
gradient_picture speck768 768 0 400 0 0 0
gradient_picture red768 768 0 10 40 0 255
expect_outcome ok "the rule at 768 rows" check_gradient right768 1
expect_outcome ok "the rule at 480 rows" check_gradient right480 2
expect_outcome FAILED "steps one row late" check_gradient late768 0
expect_outcome FAILED "one black pixel in the middle" check_gradient speck768 3
expect_outcome FAILED "red in a top row" check_gradient red768 3
expect_outcome FAILED "a missing screenshot" check_gradient nothing 0

# --- title and shadow ------------------------------------------------------------------------

# The backdrop's top with a block "title" at (30, 35) and its shadow at an offset.
title_picture() {  # title_picture <name> <shadow dx> <shadow dy> [none]
    local draw=(-fill yellow -draw "rectangle 30,35 200,60")
    local shadow=(-fill black -draw "rectangle $((30 + $2)),$((35 + $3)) $((200 + $2)),$((60 + $3))")
    [ "${4:-}" = none ] && shadow=()
    gradient_picture "$1-base" 768 0
    convert "$E2E_RESULTS/$1-base.png" -scale '256x768!' -filter point -resize '1024x768!' \
        "${shadow[@]}" "${draw[@]}" "$E2E_RESULTS/$1.png"
}
title_picture title-right 2 3
title_picture title-wrong -2 -3
title_picture title-bare 0 0 none
expect_outcome ok "title with its shadow 2 right, 3 down" check_title title-right
expect_outcome FAILED "shadow on the wrong side" check_title title-wrong
expect_outcome FAILED "no shadow" check_title title-bare
expect_outcome FAILED "no title at all" check_title right768

# --- the logo --------------------------------------------------------------------------------

convert -size 204x66 xc:red -fill white -draw "rectangle 20,10 100,50" "$E2E_WORK/logo.bmp"
convert -size 1024x768 xc:blue "$E2E_WORK/logo.bmp" -geometry +410+696 -composite \
    "$E2E_RESULTS/logo-right.png"
convert -size 1024x768 xc:blue "$E2E_WORK/logo.bmp" -geometry +411+696 -composite \
    "$E2E_RESULTS/logo-moved.png"
expect_outcome ok "logo in its place" check_logo logo-right 410 696 "$E2E_WORK/logo.bmp"
expect_outcome FAILED "logo one pixel off" check_logo logo-moved 410 696 "$E2E_WORK/logo.bmp"
expect_outcome FAILED "logo one pixel off, top rows only" \
    check_logo logo-moved 410 696 "$E2E_WORK/logo.bmp" 52

# --- the registry files ----------------------------------------------------------------------

WINEPREFIX=$E2E_WORK/prefix
mkdir -p "$WINEPREFIX"
cat >"$WINEPREFIX/system.reg" <<'REG'
WINE REGISTRY Version 2

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\FileTidemark] 1796583075
#time=1db1234
"DisplayName"="FileTidemark"
"UnInstallString"="C:\\Program Files\\FileTidemark\\UnInstal.Exe"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other] 1796583075
"DisplayName"="Other \"quoted\" product"
"Size"=dword:00000010
REG
: >"$WINEPREFIX/user.reg"
reg_set HKCU 'Software\Lanternfield\FileTidemark' RegDir 'D:\Tools\Tide'
uninstall='Software\microsoft\windows\currentversion\uninstall'
expect_outcome ok "a value under a key written in another letter case" \
    expect_reg HKLM "$uninstall\\FileTidemark" DisplayName FileTidemark
expect_outcome ok "backslashes unescaped" \
    expect_reg HKLM "$uninstall\\FileTidemark" UnInstallString 'C:\Program Files\FileTidemark\UnInstal.Exe'
expect_outcome ok "quotes unescaped" expect_reg HKLM "$uninstall\\Other" DisplayName 'Other "quoted" product'
expect_outcome FAILED "another key's value is not this key's" \
    expect_reg HKLM "$uninstall\\Other" UnInstallString 'C:\Program Files\FileTidemark\UnInstal.Exe'
expect_outcome FAILED "a wrong text" expect_reg HKLM "$uninstall\\FileTidemark" DisplayName Other
expect_outcome FAILED "a number is not a text" expect_reg HKLM "$uninstall\\Other" Size 16
expect_outcome ok "a missing value" expect_no_reg HKLM "$uninstall\\FileTidemark" Publisher
expect_outcome FAILED "a present value reported missing" \
    expect_no_reg HKLM "$uninstall\\FileTidemark" DisplayName
expect_outcome ok "a value written before the run reads back" \
    expect_reg HKCU 'Software\Lanternfield\FileTidemark' RegDir 'D:\Tools\Tide'

# --- paths and files -------------------------------------------------------------------------

mkdir -p "$WINEPREFIX/drive_c/Program Files/FileTidemark" "$WINEPREFIX/dosdevices"
ln -sfn ../drive_c "$WINEPREFIX/dosdevices/c:"
printf 'main' >"$WINEPREFIX/drive_c/Program Files/FileTidemark/Tidemark.Exe"
printf 'main' >"$E2E_WORK/same"
printf 'mains' >"$E2E_WORK/longer"
expect_outcome ok "a path in another letter case" expect_file 'C:\PROGRAM FILES\filetidemark\TIDEMARK.EXE'
expect_outcome ok "byte for byte" expect_file 'C:\Program Files\FileTidemark\Tidemark.Exe' "$E2E_WORK/same"
expect_outcome FAILED "one byte more" expect_file 'C:\Program Files\FileTidemark\Tidemark.Exe' "$E2E_WORK/longer"
expect_outcome FAILED "a missing file" expect_file 'C:\Program Files\FileTidemark\Tidemark._LF'
expect_outcome ok "a missing file is missing" expect_no_file 'C:\Program Files\FileTidemark\Tidemark._LF'
expect_outcome FAILED "a folder is not a file" expect_file 'C:\Program Files\FileTidemark'
expect_outcome ok "size" expect_size 'C:\Program Files\FileTidemark\Tidemark.Exe' 4
place_file 'C:\Users\notes.txt' "kept"
expect_outcome ok "an untouched file of the user's" expect_unchanged 'C:\Users\notes.txt'
printf 'changed' >"$WINEPREFIX/drive_c/Users/notes.txt"
expect_outcome FAILED "a changed file of the user's" expect_unchanged 'C:\Users\notes.txt'

# --- the robot's log and the shared step sequences ---------------------------------------------

printf '%s\n' '{"ev":"window","caption":"Program Group"}' >"$E2E_RESULTS/robot.log"
expect_outcome ok "a window never seen" expect_not_seen 'Please Insert Disk' "disk prompt"
expect_outcome FAILED "a window seen" expect_not_seen '"caption":"Program Group"' "group page"

# A sequence expands to its steps, its words kept as the shell reads them; other lines stay.
expand_steps_as() {  # expand_steps_as <description> <expected steps> <script>
    local got
    got=$(printf '%s\n' "$3" | expand_steps)
    if [ "$got" = "$2" ]; then echo "ok: $1"; else echo "WRONG: $1 gave:"; echo "$got"; bad=$((bad + 1)); fi
}
expand_steps_as "a folder typed on the way to copying" 'start
wait "Destination Directory"
set 104 D:\TIDE
key enter
wait "License Agreement"
click 1
# as written
wait "FileTidemark" 60000 65535="Please Insert Disk number 4"
host disk disk4
click 1' "@to_copying 'D:\TIDE'
# as written
@disks 4"
expand_steps_as "an error report's parts" 'wait "Application Error" 120000 "!Program Group"
owner none
has 65535 "IoError"
has 65535 "Disk full."
shot error
click 1
exit 1' '@application_error IoError "Disk full."'

if [ $bad -gt 0 ]; then echo "$bad harness checks gave the wrong verdict"; exit 1; fi
echo "every harness check gave the right verdict"
