#include "pages/page_commands.h"

#include "pages/dialog.h"

namespace tidemark {

void ExitPageIfConfirmed(HWND page) {
    if (ConfirmExit()) EndDialog(page, 0);
}

}  // namespace tidemark
