# The destination page's checks on what the user types.
sees "OK on each of these does nothing visible and the page keeps the entry: empty, one letter," \
     "a network path, a leading space, no colon second, two new levels," \
     "an existing file, wildcards, a drive letter with no volume behind it, a drive-relative path to" \
     "nothing; then a folder one level below an existing one is accepted and created; in a second" \
     "run the drive root C:\\ is accepted"
leaves "C:\\NEWTIDE created (empty); C:\\NEW not created; C:\\TOOLS and the file C:\\TOOLS\\notes.txt" \
       "as they were"
place_file "C:\\TOOLS\\notes.txt" "the user's own notes"
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
@refused C:X
shot refused
set 104 C:\NEWTIDE
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
expect_folder "C:\\NEWTIDE"
expect_unchanged "C:\\TOOLS\\notes.txt"
if [ -n "$(ls -A "$(hostpath 'C:\NEWTIDE')")" ]; then fail "C:\\NEWTIDE is not empty"; else pass "C:\\NEWTIDE is empty"; fi
