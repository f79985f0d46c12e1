#pragma once

// <windows.h> for Tandrel's code, without the macro that would rename the
// station's own MessageBox operation to MessageBoxW wherever it is seen.
#include <windows.h>
#undef MessageBox
