# Where the destination page's proposal comes from, over three runs in one prefix.
sees "on a fresh system C:\\Program Files\\FileTidemark; with the system's programs folder set to" \
     "D:\\Programs\\ (trailing backslash) D:\\Programs\\FileTidemark with one backslash; with a" \
     "remembered folder (RegDir) that folder unchanged, even though it does not exist; an empty" \
     "RegDir counts as absent"
leaves "the key HKCU\\Software\\Lanternfield, created by the first read; nothing else"
# A run that proposes <folder> (a robot word) and is cancelled on the destination page.
steps_proposes() {  # @proposes <folder>
    printf 'start\nwait "Destination Directory"\nitext 104 %s\ncommand 2\n' "$1"
    steps_confirm_exit
}
robot <<'STEPS'
@proposes '"C:\\Program Files\\FileTidemark"'
reg HKCU "Software\\Lanternfield" "RegDir" -absent
regset HKLM "Software\\Microsoft\\Windows\\CurrentVersion" ProgramFilesDir "D:\\Programs\\"
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir ""
@proposes 'D:\Programs\FileTidemark'
regset HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
@proposes 'E:\Gone\Tide'
STEPS
expect_reg HKCU "Software\\Lanternfield\\FileTidemark" RegDir "E:\\Gone\\Tide"
expect_no_folder "C:\\Program Files\\FileTidemark"
