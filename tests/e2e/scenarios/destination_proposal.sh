# Where the destination page's proposal comes from, over three runs in one prefix.
sees "on a fresh system C:\\Program Files\\FileTidemark; with the system's programs folder set to" \
     "D:\\Programs\\ (trailing backslash) D:\\Programs\\FileTidemark with one backslash; with a" \
     "remembered folder (RegDir) that folder unchanged, even though it does not exist; an empty" \
     "RegDir counts as absent"
leaves "the key HKCU\\Software\\Lanternfield, created by the first read; nothing else"
robot <<'STEPS'
start
wait "Destination Directory"
itext 104 "C:\\Program Files\\FileTidemark"
command 2
@confirm_exit
reg HKCU "Software\\Lanternfield" "RegDir" -absent
regset HKLM "Software\\Microsoft\\Windows\\CurrentVersion" ProgramFilesDir "D:\\Programs\\"
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir ""
start
wait "Destination Directory"
itext 104 "D:\\Programs\\FileTidemark"
command 2
@confirm_exit
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
start
wait "Destination Directory"
itext 104 "E:\\Gone\\Tide"
command 2
@confirm_exit
STEPS
expect_reg HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
expect_no_folder "C:\\Program Files\\FileTidemark"
