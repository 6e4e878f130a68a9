#pragma once
// A model header that reaches up into the views: the check must refuse it.
#include "views/DataView.h"
