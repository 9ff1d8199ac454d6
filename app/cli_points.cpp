#include "app/cli_points.h"
