#ifndef QUELMORA_DIAGNOSTICS_H
#define QUELMORA_DIAGNOSTICS_H

#include <QLoggingCategory>

// Diagnostic lines (widget persistence, marker bounds, session steps): off by
// default, so that a normal start prints nothing; QT_LOGGING_RULES=
// "quelmora.diagnostics.debug=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcDiagnostics)

#endif
