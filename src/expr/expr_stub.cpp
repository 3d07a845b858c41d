#include "expr/expr.h"
