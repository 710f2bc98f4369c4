# A product of another size on two disks (the set "lite"), made from the one built setup program
# by mkdisks alone: the program asks for its two disks, no more, and runs its meter against its
# own archive's size, so that the meter ends at 100 %. The meter is photographed while volume 1
# is copied, with the setup program held still for the picture.
sees "the copying page, its bar at the share of the smaller archive copied so far; \"Please" \
     "Insert Disk number 2\" and no prompt for disk 3; the program group page"
leaves "every file of the smaller product installed byte for byte, no Tidemark._LF"
E2E_PRODUCT=$(dirname "$E2E_PRODUCT")/product-lite
lite=$(dirname "$E2E_DISKS")/lite
disks "$lite"
needs_disks
robot <<'STEPS'
@to_licence
host watch_archive 200000 meter
click 1
wait "Please Stand By..." 65535="Installing the FileTidemark files."
client
host await_watch
@disks 2
@finish
STEPS
kill "$(cat "$E2E_WORK/watch.pid" 2>/dev/null)" 2>/dev/null
expect_installed "$dest"
expect_not_seen 'Please Insert Disk number 3' "prompt for disk 3"
total=0
for v in "$lite"/disk*/Tidemark.00?; do total=$((total + $(stat -c %s "$v"))); done
check_meter meter "$total"
