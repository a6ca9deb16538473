#pragma once

#include "ProgramDialog.h"

namespace brisko {

/// The "Info" window.
class InfoDialog : public ProgramDialog {
    Q_OBJECT
public:
    explicit InfoDialog(const QString& dataDirectory);
};

/// The update window, "Brisko aktalisieren".
class UpdateDialog : public ProgramDialog {
    Q_OBJECT
public:
    UpdateDialog();
};

}  // namespace brisko
