#pragma once

#include "ProgramDialog.h"

class QLabel;

namespace brisko {

/// The "Info" window: a picture without frame or title bar with the running version on it. A
/// click on the picture (not on the version text), Esc or any close request closes it. It is
/// the same in every style and language.
class InfoDialog : public ProgramDialog {
    Q_OBJECT
public:
    explicit InfoDialog(const QString& dataDirectory);
    QLabel* versionText() const { return version_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* version_ = nullptr;
};

}  // namespace brisko
