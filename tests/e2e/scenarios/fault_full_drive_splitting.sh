# The destination drive fills up while the unpacked image is being split: room enough for the
# archive and the whole image, not for the product files besides.
sees "the copying and unpacking pages run to their end; then \"Application Error\" with the" \
     "I/O error \"Disk full\"; OK ends the setup program with exit code 1"
leaves "on D:, the product files split so far, each complete; no Tidemark.Exe, no temporary" \
       "file, no Tidemark._LF; no uninstall entry, no shortcut"
needs_disks
tmpfs_drive D 11m
robot <<'STEPS'
@install_all_disks 'D:\TIDE'
@application_error IoError "Disk full."
STEPS
split=0
for f in "$E2E_PRODUCT"/*; do
    [ -e "$(hostpath "D:\\TIDE\\${f##*/}")" ] || continue
    expect_file "D:\\TIDE\\${f##*/}" "$f"
    split=$((split + 1))
done
if [ "$split" -gt 0 ]; then pass "$split product files split before the disk filled"
else fail "no product file split before the disk filled"; fi
for f in Tidemark.Exe Tidemark.~IM Tidemark.~SP Tidemark._LF; do expect_no_file "D:\\TIDE\\$f"; done
expect_no_uninstall_entry
