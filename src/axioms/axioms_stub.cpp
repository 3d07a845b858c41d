#include "document/state.h"
