#pragma once

#include <QDialog>

// The About box: the product's name, its version and its picture.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);
};
