#pragma once
#include "model/fields.h"
#include "files/settings_file.h"
