# Cancel confirmed while the archive is being decoded. The decoding stage is made long for this
# run: the last volume gets 64 MB of zeros appended and the setup program's trailer claims
# 256 MB more unpacked bytes (a setup program never stamped, which takes both as they are), so the
# decoder is still at work when the robot acts.
sees "the unpacking page; Cancel and Yes: the terminated message over the backdrop; exit 0"
leaves "the earlier installation's Tidemark.Exe as it was; the partial image (decoded under a" \
       "temporary name) removed; no Tidemark._LF (deleted by the page); no product file split out"
place_file "$dest\\Tidemark.Exe" "an earlier installation's main program"
unstamped_setup
truncate -s +64M "$E2E_WORK/disks/disk3/Tidemark.003"
setup=$E2E_WORK/disks/disk1/setup.exe
length=$(stat -c %s "$setup")
unpacked=$(od -An -tu4 -j $((length - 4)) -N4 "$setup" | tr -d ' ')
claimed=$((unpacked + 256 * 1024 * 1024))
printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $((claimed & 255)) $((claimed >> 8 & 255)) \
    $((claimed >> 16 & 255)) $((claimed >> 24 & 255)))" |
    dd of="$setup" bs=1 seek=$((length - 4)) conv=notrunc status=none
# While the exit question is up, decoding waits: the partial image and the archive are there.
host_partial_image() {
    local image archive size
    image=$(hostpath "$dest\\Tidemark.~IM")
    archive=$(hostpath "$dest\\Tidemark._LF")
    size=$(stat -c %s "$image" 2>/dev/null) || { echo "no image"; return 1; }
    [ -f "$archive" ] || { echo "no archive"; return 1; }
    [ "$size" -lt "$claimed" ] || { echo "image complete ($size bytes)"; return 1; }
    echo "$size" >"$E2E_RESULTS/partial-image.bytes"
}
robot <<'STEPS'
@install_all_disks
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
click 2
wait "Exit FileTidemark"
owner none
host partial_image
click 6
@terminated
STEPS
expect_unchanged "$dest\\Tidemark.Exe"
expect_no_file "$dest\\Tidemark.~IM"
expect_no_file "$dest\\Tidemark._LF"
expect_nothing_split
expect_no_uninstall_entry
