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
place_file 'C:\Users\notes.txt' "kept" && printf 'changed' >"$WINEPREFIX/drive_c/Users/notes.txt"
must_fail "a changed file of the user's" expect_unchanged 'C:\Users\notes.txt'
echo '5 window "Program Group" owner LFSetUp rect 0,0,1,1 client 1,1' >"$E2E_RESULTS/robot.log"
must_fail "a window seen" expect_not_seen '"Program Group"' "group page"
[[ $(echo '@application_error IoError "Disk full."' | expand_steps) == *'"65535~IoError" "65535~Disk full."'*'exit 1' ]] ||
  wrong "@application_error lost a part"

# A robot whose step fails must end with the verdict FAILED, or every scenario would pass.
prepare_prefix
must_fail "a failed robot step" robot <<<'sleep 1x'
grep -q '^[0-9]* end FAILED' "$E2E_RESULTS/robot.log" || wrong "a failed step ended: $(tail -1 "$E2E_RESULTS/robot.log")"

[ $bad -eq 0 ] || { echo "$bad harness checks gave the wrong verdict"; exit 1; }
echo "every harness check gave the right verdict"
