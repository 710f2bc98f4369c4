# Existing .LIB and .DTP files of the product's names, in other letter cases, are the user's
# libraries and documents: they stay untouched. Any other existing product file is rewritten,
# and a help file of the same name in the destination does not keep the help file out of
# C:\windows\Help.
sees "an ordinary installation from three disks"
leaves "tidemark.lib and Tidemark.Dtp as they were; README.TXT and the other files replaced by" \
       "the product's; the old FILETIDE.HLP in the destination untouched, the new one in" \
       "C:\\windows\\Help"
place_file "$dest\\tidemark.lib" "the user's own library"
place_file "$dest\\Tidemark.Dtp" "the user's own document"
place_file "$dest\\FILETIDE.HLP" "an old help file"
place_file "$dest\\README.TXT" "an old readme"
robot <<'STEPS'
@install_all_disks
@finish
STEPS
expect_unchanged "$dest\\tidemark.lib"
expect_unchanged "$dest\\Tidemark.Dtp"
expect_unchanged "$dest\\FILETIDE.HLP"
expect_file 'C:\windows\Help\FILETIDE.HLP' "$E2E_PRODUCT/FILETIDE.HLP"
for f in "$E2E_PRODUCT"/*; do
    case ${f##*/} in
        *.LIB|*.DTP|*.HLP) ;;
        *) expect_file "$dest\\${f##*/}" "$f" ;;
    esac
done
expect_no_file "$dest\\Tidemark._LF"
