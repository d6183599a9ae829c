#include "gui/components/diagnostics.h"

Q_LOGGING_CATEGORY(lcDiagnostics, "quelmora.diagnostics", QtWarningMsg)
