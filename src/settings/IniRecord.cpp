#include "IniRecord.h"

TIniRecord IniRecord;
