# A whole installation as a user makes it: the proposed folder, I Agree, each disk put into
# drive A: when asked for, the proposed group name, No to starting the program.
sees "every page in turn with its texts; \"Please Insert Disk number 2\" and 3; the program group" \
     "page proposing FileTidemark; the closing prompt with no owner"
leaves "the sample product in C:\\Program Files\\FileTidemark (FILETIDE.HLP in C:\\windows\\Help)," \
       "no Tidemark._LF, the shortcut FileTidemark.LNK in the Programs folder, the uninstall entry"
needs_disks
robot <<'STEPS'
start
wait "Destination Directory"
shot 1-destination
key enter
wait "License Agreement"
shot 2-licence
key enter
wait "Please Stand By..." 65535="Installing the FileTidemark files."
centred
text 2 Cancel
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
owner #32770
shot 3-disk2-prompt
host disk disk2
click 1
@disks 3
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
centred
text 2 Cancel
shot 4-unpacking
wait "Program Group" 120000
centred
focus 1
text 102 FileTidemark
text 101 "Please enter the name of the program group that you would like FileTidemark to use. To accept the default, simply press ENTER."
text 1 OK
text 2 Cancel
shot 5-group
key enter
wait "FileTidemark" 30000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
owner none
shot 6-closing
click 7
exit 0
STEPS
expect_installed "$dest"
expect_uninstall_entry
# The folder field is upper-case (ES_UPPERCASE also converts the proposal put into it), so the
# destination read back from it is too.
expect_reg HKLM "$uninstall_key" UnInstallString 'C:\PROGRAM FILES\FILETIDEMARK\UnInstal.Exe'
if programs=$(reg_get HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs); then
    expect_file "$programs\\FileTidemark.LNK"
    link=$(hostpath "$programs\\FileTidemark.LNK")
    if [ -f "$link" ] && grep -qaiF "Tidemark.Exe" "$link"; then pass "the shortcut names Tidemark.Exe"
    else fail "the shortcut does not name Tidemark.Exe"; fi
else
    fail "no Programs folder in the registry"
fi
expect_no_file 'C:\Program Files\FileTidemark\Tidemark.ran'
