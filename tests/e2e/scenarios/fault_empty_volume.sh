# A later volume that is empty (disk 3): the disks are joined without a complaint,
# and the archive runs short while it is decoded.
sees "the disk prompts as usual; the unpacking page; then \"Application Error\" reporting the" \
     "short archive; OK ends the setup program with exit code 1"
leaves "no product file split out; no uninstall entry, no shortcut"
needs_disks
: >"$E2E_WORK/disks/disk3/Tidemark.003"
robot <<'STEPS'
@install_all_disks
@application_error
STEPS
expect_nothing_split
expect_no_uninstall_entry
