# Existing .LIB and .DTP files of the product's names, in other letter cases, are the user's
# libraries and documents: they stay untouched. Any other existing product file is replaced
# whole; one that cannot be is asked about, and the closing prompt says what is not in place.
# What an interrupted earlier run left under the temporary names is removed.
sees "over the unpacking page, boxes captioned FileTidemark with Retry and Cancel: for the" \
     "read-only FILETIDE.HLP in C:\\windows\\Help (Cancel: it goes to the destination), the folder" \
     "ORDER.TXT (Cancel), the read-only README.TXT (made writable, then Retry); a closing prompt" \
     "that names FILETIDE.HLP and ORDER.TXT instead of claiming success"
leaves "tidemark.lib, Tidemark.Dtp and the old help file in C:\\windows\\Help as they were;" \
       "FILETIDE.HLP in the destination; the folder ORDER.TXT; README.TXT and the other files" \
       "replaced by the product's; no temporary file"
place_file "$dest\\tidemark.lib" "the user's own library"
place_file "$dest\\Tidemark.Dtp" "the user's own document"
place_file "$dest\\README.TXT" "an old readme"
place_file 'C:\windows\Help\FILETIDE.HLP' "an old help file"
leftovers=("$dest\\Tidemark.~IM" "$dest\\Tidemark.~SP" 'C:\windows\Help\Tidemark.~SP')
for f in "${leftovers[@]}"; do place_file "$f" "left by a killed run"; done
chmod a-w "$(hostpath "$dest\\README.TXT")" "$(hostpath 'C:\windows\Help\FILETIDE.HLP')"
mkdir "$(hostpath "$dest")/ORDER.TXT"
host_writable() { chmod u+w "$(hostpath "$dest\\$1")"; }
# The question about one file, owned by the page: <name> and <reason> in its text.
steps_cannot_place() {  # @cannot_place <name> <reason>
    printf 'wait "FileTidemark" 120000\nowner "#32770"\nhas 65535 "%s"\nhas 65535 "%s"\n' "$1" "$2"
}
robot <<'STEPS'
@install_all_disks
wait "Please Stand By..." 60000 65535="Uncompressing the FileTidemark files."
@cannot_place FILETIDE.HLP "the file there is read-only"
click 2
gone
@cannot_place ORDER.TXT "a folder of that name is in the way"
click 2
gone
@cannot_place README.TXT "the file there is read-only"
host writable README.TXT
click 4
gone
wait "Program Group" 120000
click 1
wait "FileTidemark" 60000
owner none
has 65535 "FILETIDE.HLP: put into"
has 65535 "ORDER.TXT: not installed, a folder of that name is in the way."
has 65535 "Do you wish to run FileTidemark?"
click 7
exit 0
STEPS
expect_unchanged "$dest\\tidemark.lib"
expect_unchanged "$dest\\Tidemark.Dtp"
expect_unchanged 'C:\windows\Help\FILETIDE.HLP'
expect_file "$dest\\FILETIDE.HLP" "$E2E_PRODUCT/FILETIDE.HLP"
expect_folder "$dest\\ORDER.TXT"
for f in "$E2E_PRODUCT"/*; do
    case ${f##*/} in
        *.LIB|*.DTP|*.HLP|ORDER.TXT) ;;
        *) expect_file "$dest\\${f##*/}" "$f" ;;
    esac
done
for f in "${leftovers[@]}" "$dest\\Tidemark._LF"; do expect_no_file "$f"; done
expect_not_seen 'successfully installed' "claim of success"
