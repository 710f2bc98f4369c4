# The Windows folder has no Help folder: the help file goes to the destination instead.
sees "a normal installation"
leaves "FILETIDE.HLP in the destination, byte for byte; no Help folder created under C:\\windows"
rm -rf "$(hostpath 'C:\windows\Help')"
needs_disks
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
key enter
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk disk2
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 1
wait "Program Group" 120000
key enter
wait "FileTidemark" 30000 65535="FileTidemark has been successfully installed.\r\n\r\nDo you wish to run FileTidemark?"
click 7
exit 0
STEPS
dest='C:\Program Files\FileTidemark'
for f in "$E2E_PRODUCT"/*; do expect_file "$dest\\$(basename "$f")" "$f"; done
expect_no_folder 'C:\windows\Help'
