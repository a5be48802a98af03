#pragma once

#include <initializer_list>
#include <variant>

class QDialog;
class QLayout;
class QWidget;

// One part of a dialog: a widget or a layout of widgets.
using DialogPart = std::variant<QWidget*, QLayout*>;

// Lays the parts out top to bottom in dialog, followed by OK and Cancel, which accept and reject it.
void LayOutWithOkCancel(QDialog& dialog, std::initializer_list<DialogPart> parts);
