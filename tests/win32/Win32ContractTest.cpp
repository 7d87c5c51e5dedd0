// The window contract on the Windows front-end, run under Wine here.
#include "Win32Driver.h"
#include "WindowContractTests.h"
#include "WindowRunContractTests.h"

namespace kov::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContract, Win32Driver);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowRunContract, Win32Driver);

}  // namespace kov::testing
