// Axiom and definition builders.
#include "document/state.h"
