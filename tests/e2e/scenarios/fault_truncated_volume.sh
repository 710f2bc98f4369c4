# A later volume cut to half its length (disk 2): the disks are joined without a complaint,
# and the archive runs short while it is decoded.
sees "the disk prompts as usual; the unpacking page; then \"Application Error\" reporting the" \
     "short archive; OK ends the setup program with exit code 1"
leaves "no product file split out; no uninstall entry, no shortcut"
needs_disks
v=$E2E_WORK/disks/disk2/Tidemark.002
truncate -s $(($(stat -c %s "$v") / 2)) "$v"
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
wait "Application Error" 120000 "!Program Group"
shot error
dump
click 1
exit 1
STEPS
dest='C:\Program Files\FileTidemark'
for f in "$E2E_PRODUCT"/*; do
    case $(basename "$f") in Tidemark.Exe) ;; *) expect_no_file "$dest\\$(basename "$f")" ;; esac
done
expect_no_file 'C:\windows\Help\FILETIDE.HLP'
expect_no_reg HKLM 'Software\Microsoft\Windows\CurrentVersion\Uninstall\FileTidemark' DisplayName
