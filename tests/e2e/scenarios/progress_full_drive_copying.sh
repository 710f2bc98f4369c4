# The destination drive fills up while the volumes are copied (room for volume 1, not for
# volume 2): the short write is the I/O error "Disk full", and the program ends with exit code 1
# leaving the partial archive, since the clean-up of a stopped run does not follow an error.
sees "the copying page, the prompt for disk 2, then \"Application Error\" with IoError and" \
     "\"Disk full\"; OK ends the program with exit code 1"
leaves "on D:, the partial Tidemark._LF as far as it went; no Tidemark.Exe"
tmpfs_drive D 1500k
robot <<'STEPS'
@to_copying 'D:\TIDE'
@disks 2
@application_error IoError "Disk full."
STEPS
expect_file 'D:\TIDE\Tidemark._LF'
size=$(stat -c %s "$(hostpath 'D:\TIDE\Tidemark._LF')" 2>/dev/null || echo 0)
v1=$(stat -c %s "$E2E_DISKS/disk1/Tidemark.001")
if [ "$size" -gt "$v1" ]; then pass "the partial archive holds volume 1 and part of volume 2 ($size bytes)"
else fail "the partial archive holds $size bytes, volume 1 alone is $v1"; fi
expect_no_file 'D:\TIDE\Tidemark.Exe'
