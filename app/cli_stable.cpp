#include "app/cli_stable.h"
