# Yes on the closing prompt starts the installed program in the destination folder, and the
# setup program ends at once. The Windows folder has no Help folder in this run: the help file
# goes to the destination instead. The destination is typed drive-relative, C:TIDE.
sees "the closing prompt; Yes: FileTidemark's window opens (it closes itself in this test) and" \
     "the setup program has ended with exit code 0"
leaves "every product file in C:\\TIDE byte for byte, FILETIDE.HLP too; no Help folder created" \
       "under C:\\windows; the sample program's mark file Tidemark.ran in the folder it was" \
       "started in; the user's notes.txt as it was; the uninstall command and the shortcut's" \
       "working folder as full paths"
export TIDEMARK_AUTOCLOSE=1 TIDEMARK_MARK_DIR=.
rm -rf "$(hostpath 'C:\windows\Help')"
place_file 'C:\TIDE\notes.txt' "the user's notes"
needs_disks
robot <<'STEPS'
@install_all_disks C:TIDE
@finish 6
STEPS
for f in "$E2E_PRODUCT"/*; do expect_file "C:\\TIDE\\${f##*/}" "$f"; done
expect_no_file 'C:\TIDE\Tidemark._LF'
expect_no_folder 'C:\windows\Help'
# The launched program runs on its own and writes its mark, here into the folder it was started
# in, as it starts. C:\TIDE existed before the run, so the destination page did not make it the
# setup program's current folder: the mark there shows the launch named it.
mark=$(hostpath 'C:\TIDE\Tidemark.ran')
for i in $(seq 50); do [ -f "$mark" ] && break; sleep 0.1; done
expect_file 'C:\TIDE\Tidemark.ran'
expect_unchanged 'C:\TIDE\notes.txt'
expect_reg HKLM "$uninstall_key" UnInstallString 'C:\TIDE\UnInstal.Exe'
programs=$(reg_get HKCU 'Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
link=$(hostpath "$programs\\FileTidemark.LNK")
if [ ! -f "$link" ]; then fail "no shortcut"
elif tr -d '\0' <"$link" | grep -qaiF 'C:TIDE'; then fail "the shortcut holds the relative C:TIDE"
else pass "the shortcut holds no relative path"; fi
