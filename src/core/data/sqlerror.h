#pragma once

#include "result.h"

class QSqlError;

// The kind of an engine's failure (busy, read-only, full, damaged...), with its own words kept as the detail.
Error sqlFailure(const QSqlError &error);
