# Installations that end well, each with what makes it special.

# A whole installation as a user makes it: the proposed folder, I Agree, each disk put into
# drive A: when asked for, the proposed group name, No to starting the program. Left behind: the
# sample product in C:\Program Files\FileTidemark (FILETIDE.HLP in C:\windows\Help), no archive,
# the shortcut in the Programs folder, the uninstall entry. The x86_64 build runs this one.
scenario_install_full() {
  robot <<'STEPS'
@to_licence
key enter
wait "Please Stand By..." 65535="Installing the FileTidemark files." centred
@disks 2 3
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files." centred
wait "Program Group" 120000 centred focus=1 102=FileTidemark
key enter
@closing
# The folder field is upper-case, so the destination read back from it is too.
@entry FileTidemark 'C:\PROGRAM FILES\FILETIDEMARK\UnInstal.Exe'
STEPS
  expect_installed "$dest"
  verdict "the shortcut names Tidemark.Exe" 'grep -qaiF Tidemark.Exe "$(shortcut FileTidemark.LNK)"'
  expect_no_file "$dest\\Tidemark.ran"
}

# Yes on the closing prompt starts the installed program in the destination folder (it closes
# itself here and leaves its mark file Tidemark.ran where it started), and the setup program
# ends with 0. The Windows folder has no Help folder: the help file goes to the destination. The
# destination is typed drive-relative, C:TIDE; the uninstall command and the shortcut hold full
# paths. The user's notes.txt in C:\TIDE stays.
scenario_install_launch() {
  export TIDEMARK_AUTOCLOSE=1 TIDEMARK_MARK_DIR=.
  rm -rf "$(hostpath 'C:\windows\Help')"
  place_file 'C:\TIDE\notes.txt' "the user's notes"
  robot <<'STEPS'
@install_all_disks C:TIDE
@finish 6
@entry FileTidemark 'C:\TIDE\UnInstal.Exe'
STEPS
  expect_no_file 'C:\windows\Help'
  expect_installed 'C:\TIDE'
  # C:\TIDE existed before, so the destination page did not make it the setup program's
  # current folder: the mark there shows the launch named it.
  for i in $(seq 50); do [ -f "$(hostpath 'C:\TIDE\Tidemark.ran')" ] && break; sleep 0.1; done
  expect_file 'C:\TIDE\Tidemark.ran'
  verdict "the shortcut holds no relative C:TIDE" '! tr -d "\0" <"$(shortcut FileTidemark.LNK)" | grep -qaiF C:TIDE'
}

# A product of another size on two disks (the set "lite", made by mkdisks from the one built
# program): it asks for its two disks, no more, and its meter runs against its own archive's
# size; pictured while volume 1 is copied, the program held still for the picture.
scenario_install_other_product() {
  local lite=$(dirname "$E2E_DISKS")/lite total=0 v
  disks "$lite"
  needs_disks
  robot <<'STEPS'
@to_copying
@meter_held 200000 300000
@disks 2
# A prompt for disk 3 would hold the program group page back, failing the wait for it.
@finish
STEPS
  expect_installed "$dest" "$(dirname "$E2E_PRODUCT")/product-lite"
  for v in "$lite"/disk*/Tidemark.00?; do total=$((total + $(stat -c %s "$v"))); done
  check_meter meter "$total"
}

# What the user may do on the disk prompts: OK with the drive empty shows the WrongDiskBox (no
# caption, owned by the prompt) and the same prompt again; a quit request (WM_QUIT) that
# reaches the program while it copies is swallowed; a disk put in before Cancel counts as OK;
# Cancel on the program group page closes it without a question and only skips the shortcut.
scenario_install_disk_prompts() {
  robot <<'STEPS'
@to_copying
wait "FileTidemark" 60000 65535="Please Insert Disk number 2"
host disk empty
click 1
wait "" 65535="This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter" owner=#32770
click 1
wait "FileTidemark" 65535="Please Insert Disk number 2"
host disk disk2
# The click ends the prompt and copying resumes; the quit request is queued behind it.
click 1
quit
# Any further prompt for disk 2 (a swap not taken at once) would fail this wait.
wait "FileTidemark" 60000 65535="Please Insert Disk number 3"
host disk disk3
click 2
# A terminated message here would hold the program group page back, failing the wait for it.
wait "Program Group" 120000
set 102 "Never Used"
click 2
gone
@closing 7 'Exit FileTidemark'
@entry FileTidemark
STEPS
  expect_installed "$dest"
  verdict "no shortcut" '[ -z "$(shortcut FileTidemark.LNK)$(shortcut "Never Used.LNK")" ]'
}

# Existing .LIB and .DTP files of the product's names, in other letter cases, are the user's: they
# stay. Any other existing product file is replaced whole; one that cannot be is asked about
# over the unpacking page (Retry and Cancel): the read-only FILETIDE.HLP in C:\windows\Help
# (Cancel: it goes to the destination), the folder ORDER.TXT (Cancel), the read-only README.TXT
# (made writable, then Retry). The Programs folder is recorded as a number, not text: on the
# program group page OK on names that cannot be the shortcut's file (CON, Sub\Group,
# ..\..\..\EVIL, A:B, empty, spaces, a trailing dot, 254 characters: too long a path) does nothing
# visible and the page keeps the name; the proposed name is taken. The closing prompt names
# FILETIDE.HLP, ORDER.TXT and the shortcut not made instead of claiming success; the uninstall
# entry is written, and no shortcut made anywhere. What an interrupted earlier run left under the
# temporary names is removed.
scenario_install_lib_dtp_kept() {
  local leftovers=("$dest\\Tidemark.~IM" "$dest\\Tidemark.~SP" 'C:\windows\Help\Tidemark.~SP')
  for f in "$dest\\tidemark.lib" "$dest\\Tidemark.Dtp" 'C:\windows\Help\FILETIDE.HLP' "$dest\\README.TXT" "${leftovers[@]}"; do place_file "$f" "the user's $f"; done
  forget_file "$dest\\README.TXT" "${leftovers[@]}"  # replaced and removed
  chmod a-w "$(hostpath "$dest\\README.TXT")" "$(hostpath 'C:\windows\Help\FILETIDE.HLP')"
  mkdir "$(hostpath "$dest")/ORDER.TXT"
  host_writable() { chmod u+w "$(hostpath "$dest\\$1")"; }
  # The question about one file, owned by the page, answered with <button> (2 Cancel, 4 Retry)
  # after the host request <request>, if any.
  steps_cannot_place() {  # @cannot_place <button> <name> <reason> [<request>]
    printf 'wait "FileTidemark" 120000 owner=#32770 "65535~%s" "65535~%s"\n' "$2" "$3"
    [ -z "${4:-}" ] || echo "host $4"
    printf 'click %s\ngone\n' "$1"
  }
  reg_file user 'Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders' '"Programs"=dword:00000005'
  robot <<STEPS
@install_all_disks
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
@cannot_place 2 FILETIDE.HLP "the file there is read-only"
@cannot_place 2 ORDER.TXT "a folder of that name is in the way"
@cannot_place 4 README.TXT "the file there is read-only" "writable README.TXT"
wait "Program Group" 120000
@refused 102 CON 'Sub\Group' '..\..\..\EVIL' A:B '""' '"   "' 'Tide.' $(printf 'G%.0s' $(seq 254))
set 102 FileTidemark
click 1
wait "FileTidemark" 60000 owner=none "65535~FILETIDE.HLP: put into" "65535~Do you wish to run FileTidemark?" "65535~ORDER.TXT: not installed, a folder of that name is in the way." "65535~The Start-menu shortcut FileTidemark.LNK: not made, the registry names no Start-menu folder."
click 7
exit 0
@entry FileTidemark
STEPS
  expect_file "$dest\\FILETIDE.HLP" "$E2E_PRODUCT/FILETIDE.HLP"
  verdict "the folder ORDER.TXT stays" '[ -d "$(hostpath "$dest\\ORDER.TXT")" ]'
  expect_installed "$dest" "$E2E_PRODUCT" '@(*.LIB|*.DTP|*.HLP|ORDER.TXT)'
  expect_no_file "${leftovers[@]}"
  expect_not_seen 'successfully installed' "claim of success"
  verdict "no shortcut" '[ -z "$(find "$WINEPREFIX/drive_c" -iname "*.lnk" -newer "$E2E_WORK/steps.txt")" ]'
}

