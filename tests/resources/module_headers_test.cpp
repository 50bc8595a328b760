// The symbol headers of res/description are C/C++ that module code could include: they must
// compile together and agree with the IDs the module relies on. This file holds no test: it
// fails the build when they do not.
#include "Flumenofilter.h"
#include "Tlumenoconfig.h"
#include "Tlumenogenericobjtag.h"
#include "Tlumenolighttag.h"
#include "Tlumenomaterialhelpertag.h"

static_assert(Flumenofilter == 1019430 && LFILTER_RENDERER_FOLDER == 1000 && LFILTER_LAST_EXPORT_FILE == 1001);
static_assert(Tlumenoconfig == 10000 && LCFG_POS_SIZE_MULTIPLIER == 1005 && LCFG_WHITE_BALANCE_F11 == 3012);
static_assert(Tlumenogenericobjtag == 10005 && LOBJ_EXCLUDE == 1001);
static_assert(Tlumenolighttag == 10004 && LLIGHT_SPECTRUM_RGB == 1103);
static_assert(Tlumenomaterialhelpertag == 10008 && LMAT_NK_DATA_NONE == 5011);

