# The Windows folder has no Help folder: the help file goes to the destination instead.
sees "a normal installation"
leaves "FILETIDE.HLP in the destination, byte for byte; no Help folder created under C:\\windows"
rm -rf "$(hostpath 'C:\windows\Help')"
needs_disks
robot <<'STEPS'
@install_all_disks
@finish
STEPS
for f in "$E2E_PRODUCT"/*; do expect_file "$dest\\$(basename "$f")" "$f"; done
expect_no_folder 'C:\windows\Help'
