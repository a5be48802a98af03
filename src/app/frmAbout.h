#pragma once

#include <QDialog>

// The About box: the product's name, its version, its picture and the folder it keeps its files in.
class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const QString& appDirectory, QWidget* parent = nullptr);
};
