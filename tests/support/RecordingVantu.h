#pragma once

#include "app/frmVantu.h"

#include <QStringList>

// The main window with its notification calls recorded instead of carried out.
class RecordingVantu final : public frmVantu
{
public:
    using frmVantu::frmVantu;

    void NotifySound() override { ++Sounds; }
    void NotifyEmail(const QString& ImageFile) override { Emails << ImageFile; }

    int Sounds = 0;
    QStringList Emails;
};
