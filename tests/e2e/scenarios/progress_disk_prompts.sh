# What the user may do on the disk prompts, in one installation: OK with no disk in shows the
# WrongDiskBox (owned by the page, no caption) and the same prompt again; a quit request
# (WM_QUIT) that reaches the program while it copies is swallowed; a disk put in before Cancel
# is pressed counts as OK; Cancel on the program group page only skips the shortcut.
sees "\"Please Insert Disk number 2\"; OK with the drive empty: \"This is not the appropriate" \
     "disk...\" with an empty caption, then the prompt again; disk 2 and OK; disk 3 put in and" \
     "Cancel: the copy goes on; the program group page, whose Cancel closes it without a" \
     "question; the closing prompt, answered No"
leaves "the whole product installed, the uninstall entry, no Tidemark._LF, no shortcut"
needs_disks
robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk empty
click 1
wait "" 65535="This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter"
owner "#32770"
click 1
wait "FileTidemark" 65535="Please Insert Disk number 2"
host disk disk2
# The click ends the prompt and copying resumes; the quit request is queued behind it, so the
# copy loop's draining meets it.
click 1
quit
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 2
wait "Program Group" 120000
set 102 "Never Used"
click 2
gone
absent "Exit FileTidemark" 300
@closing
STEPS
expect_installed "$dest"
expect_uninstall_entry
# Only one wrong-disk box and one repeated prompt: the swaps took effect at once.
prompts=$(grep -c '"ev":"window".*"Please Insert Disk number' "$E2E_RESULTS/robot.log")
if [ "$prompts" = 3 ]; then pass "three disk prompts (2, 2 again, 3)"
else fail "$prompts disk prompts, expected 3"; fi
expect_not_seen 'The Installation process has been terminated' "terminated message"
programs=$(reg_get HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
expect_no_file "$programs\\FileTidemark.LNK"
expect_no_file "$programs\\Never Used.LNK"
