#!/usr/bin/env bash
# The harness's checks and the robot's step reader on made-up inputs: each must catch what is
# wrong, or a green scenario would mean nothing. (A check that wrongly fails shows up as failing
# scenarios instead.)
#   selftest.sh <build folder for the template prefix> <robot.exe>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
E2E_BUILD=$(readlink -f "$1") E2E_ROBOT=$(readlink -f "$2")
E2E_WORK=$(mktemp -d "$E2E_BUILD/selftest.XXXXXX") && E2E_RESULTS=$E2E_WORK/results && mkdir -p "$E2E_RESULTS"
WINEPREFIX=
source "$here/harness.sh"
trap cleanup EXIT
bad=0
wrong() { echo "WRONG: $*"; bad=$((bad + 1)); }
must_fail() {  # must_fail <description> <check command...>: the check must report a failure
    local out
    out=$(e2e_failed=0; "${@:2}"; echo "failed=$e2e_failed")
    [[ $out == *failed=0 ]] && wrong "$1 passed: $out" || echo "ok: $1 caught"
}

# 768 rows of the backdrop's rule, 4 columns, every step <shift> rows late, one odd pixel in <row>.
gradient_picture() {  # gradient_picture <name> <shift> [<row> <r g b>]
    awk -v shift="$2" -v odd="${3:--1}" -v c="${4:-0 0 0}" 'BEGIN { print "P3 4 768 255"
        for (y = 0; y < 768; y++) { v = 255 - int((y - shift) / 3); v = v > 255 ? 255 : v < 0 ? 0 : v
            for (x = 0; x < 4; x++) print (y == odd ? c : "0 0 " v) } }' | convert ppm:- "$E2E_RESULTS/$1.png"
}
for args in "late 1" "speck 0 400" "plain 0"; do gradient_picture $args; done
must_fail "gradient steps one row late" check_gradient late 0
must_fail "one black pixel in the gradient" check_gradient speck 3
must_fail "a missing screenshot" check_gradient nothing 0
# A block "title" at (30, 35) with its shadow 2 left and 3 up of it.
convert "$E2E_RESULTS/plain.png" -scale '256x768!' -filter point -resize '1024x768!' -fill black \
    -draw "rectangle 28,32 198,57" -fill yellow -draw "rectangle 30,35 200,60" "$E2E_RESULTS/title.png"
must_fail "title shadow on the wrong side" check_title title
must_fail "no title at all" check_title plain
convert -size 204x66 xc:red -fill white -draw "rectangle 20,10 100,50" "$E2E_WORK/logo.bmp"
convert -size 1024x768 xc:blue "$E2E_WORK/logo.bmp" -geometry +411+696 -composite "$E2E_RESULTS/logo.png"
must_fail "logo one pixel off" check_logo logo 410 696 "$E2E_WORK/logo.bmp" 52

WINEPREFIX=$E2E_WORK/files
mkdir -p "$WINEPREFIX/drive_c/Program Files/FileTidemark" "$WINEPREFIX/dosdevices"
ln -sfn ../drive_c "$WINEPREFIX/dosdevices/c:"
printf 'main' >"$WINEPREFIX/drive_c/Program Files/FileTidemark/Tidemark.Exe"
printf 'mains' >"$E2E_WORK/longer"
# Paths are matched without regard to case: a file written in another case is there.
must_fail "a present file reported missing" expect_no_file 'C:\PROGRAM FILES\filetidemark\TIDEMARK.EXE'
must_fail "one byte more" expect_file 'C:\Program Files\FileTidemark\Tidemark.Exe' "$E2E_WORK/longer"
must_fail "a missing file" expect_file 'C:\Program Files\FileTidemark\Tidemark._LF'
must_fail "a folder taken for a file" expect_file 'C:\Program Files\FileTidemark'
place_file 'C:\Users\notes.txt' "kept" && printf 'changed' >"$WINEPREFIX/drive_c/Users/notes.txt"
must_fail "a changed file of the user's" expect_unchanged 'C:\Users\notes.txt'
echo '5 window "Program Group" owner LFSetUp rect 0,0,1,1 client 1,1' >"$E2E_RESULTS/robot.log"
must_fail "a window seen" expect_not_seen '"Program Group"' "group page"
[[ $(echo '@application_error IoError "Disk full."' | expand_steps) == *'"65535~IoError" "65535~Disk full."'*'exit 1' ]] ||
    wrong "@application_error lost a part"

# The robot reads quoted words with their escapes (a request carries them to the host), numbers
# in hex, and refuses a bad escape and a number that is none.
prepare_prefix
run_robot() {  # run_robot <steps>: the robot's log
    printf '%s\n' "$1" >"$E2E_WORK/steps.txt" && echo ok >"$E2E_WORK/chan/ack.1"
    "$WINE" "$(winpath "$E2E_ROBOT")" "$(winpath "$E2E_WORK/log")" "$(winpath "$E2E_WORK/chan")" \
        "$(winpath "$E2E_WORK/steps.txt")" >/dev/null 2>&1
    cat "$E2E_WORK/log"
}
log=$(run_robot '# host "not a step"
host "a \"b\"\r\n\\c" C:\TIDE #32770
sleep 0x1
sleep 1x')
[ "$(cat "$E2E_WORK/chan/req.1")" = "$(printf 'a "b"\r\n\\c C:\\TIDE #32770')" ] || wrong "request $(od -c "$E2E_WORK/chan/req.1")"
[[ $log == *'FAILED line 4: sleep 1x: number expected'*'end FAILED' ]] || wrong "robot: $log"
[[ $(run_robot 'wait x 1~"O\K"') == *'FAILED line 1: '*'bad escape'* ]] || wrong "a bad escape read"

[ $bad -eq 0 ] || { echo "$bad harness checks gave the wrong verdict"; exit 1; }
echo "every harness check gave the right verdict"
