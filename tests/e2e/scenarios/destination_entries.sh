# The destination page's checks on what the user types.
sees "OK on each of these does nothing visible and the page keeps the entry: empty, one letter," \
     "a network path, a leading space, no colon second, two new levels," \
     "an existing file, wildcards, a drive letter with no volume behind it, the drive the disks" \
     "are read from, a folder too long for the product's longest name (12 characters); then the" \
     "drive-relative C:NEWTIDE is accepted and created below the drive's current folder, its" \
     "root; in a second run the drive root C:\\ is accepted"
leaves "C:\\NEWTIDE created (empty: no NEWTIDE nested in it); C:\\NEW, A:\\TIDE and the long" \
       "folder not created; C:\\TOOLS and the file C:\\TOOLS\\notes.txt as they were"
place_file "C:\\TOOLS\\notes.txt" "the user's own notes"
# 247 characters: with "\" and a 12-character name, one more than a path may hold.
long=C:\\$(printf 'L%.0s' $(seq 244))
robot <<'STEPS'
start
wait "Destination Directory"
set 104 ""
key enter
stays 300
@refused C
@refused '\\SERVER\SHARE'
@refused '" C:\\TIDE"'
@refused 'CX\TIDE'
@refused 'C:\NEW\SUB'
@refused 'C:\TOOLS\NOTES.TXT'
@refused 'C:\TOOLS\*.*'
@refused 'Q:\'
@refused 'A:\'
@refused 'A:\TIDE'
@refused "$long"
shot refused
set 104 C:NEWTIDE
command 1
wait "License Agreement"
command 2
@confirm_exit
# A drive root is an existing folder: accepted without creating anything.
@to_licence 'C:\'
click 2
@confirm_exit
STEPS
expect_no_folder "C:\\NEW"
expect_no_folder 'A:\TIDE'
expect_no_folder "$long"
expect_folder "C:\\NEWTIDE"
expect_unchanged "C:\\TOOLS\\notes.txt"
if [ -n "$(ls -A "$(hostpath 'C:\NEWTIDE')")" ]; then fail "C:\\NEWTIDE is not empty"; else pass "C:\\NEWTIDE is empty"; fi
