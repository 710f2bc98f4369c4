# The destination drive fills up while the unpacked image is being split: room enough for the
# archive and the whole image, not for the product files besides.
sees "the copying and unpacking pages run to their end; then \"Application Error\" with the" \
     "I/O error \"Disk full\"; OK ends the setup program with exit code 1"
leaves "on D:, Tidemark.Exe at the image's full length and the product files split so far;" \
       "no Tidemark._LF; no uninstall entry, no shortcut"
needs_disks
tmpfs_drive D 11m
robot <<'STEPS'
@install_all_disks 'D:\TIDE'
@application_error IoError "Disk full."
STEPS
unpacked=0
for f in "$E2E_PRODUCT"/*; do unpacked=$((unpacked + $(stat -c %s "$f"))); done
expect_size 'D:\TIDE\Tidemark.Exe' "$unpacked"
expect_no_file 'D:\TIDE\Tidemark._LF'
expect_no_uninstall_entry
