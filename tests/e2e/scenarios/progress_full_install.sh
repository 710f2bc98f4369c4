# A full installation from three disks, the robot swapping the disk in drive A: at each prompt,
# with a wrong disk once: OK on the prompt with the wrong disk in shows the WrongDiskBox (no
# caption) and then the same prompt again.
sees "\"Please Insert Disk number 2\", OK with no disk: \"This is not the appropriate disk...\"," \
     "the prompt again; disks 2 and 3 in turn; \"Uncompressing the FileTidemark files.\"; the" \
     "program group page; the closing prompt, answered No"
leaves "every product file byte for byte in the destination (the help file in C:\\windows\\Help)," \
       "Tidemark.Exe cut to the main program, no Tidemark._LF"
dest='C:\Program Files\FileTidemark'
robot <<'STEPS'
start
wait "Destination Directory"
key enter
wait "License Agreement"
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
owner "#32770"
host disk empty
click 1
wait "" 65535="This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter"
click 1
wait "FileTidemark" 65535="Please Insert Disk number 2"
host disk disk2
click 1
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 1
wait "Program Group" 120000
click 1
wait "FileTidemark" 60000
click 7
exit 0
STEPS
expect_installed "$dest"
expect_size "$dest\\Tidemark.Exe" "$(stat -c %s "$E2E_PRODUCT/Tidemark.Exe")"
