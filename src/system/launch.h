// The launch of the installed program, on Yes to the closing prompt.
#pragma once

namespace tidemark {

void LaunchProduct();

}  // namespace tidemark
