#include "drill/Drill.h"
