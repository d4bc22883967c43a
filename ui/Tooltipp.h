#pragma once

class QWidget;

// The hints of the main window, assigned in code when it is created; they
// replace whatever a control carried before. Lines are separated by LF.
// Each routine finds its controls in form1 by their names.
namespace lw::ui {

// The hints the window's design gives: the foot buttons and Memo1.
void TooltippsEntwurf(QWidget& form1);
// The import page.
void TooltippsImport(QWidget& form1);
// The settings page, plus CheckBox1 and BitBtn1 of the links page.
void TooltippsBody(QWidget& form1);
// The two button choosers of the links page.
void TooltippsLinks(QWidget& form1);
// The four controls of link row i; imported page names cannot be edited.
void TooltippsZeile(QWidget& form1, int zeile, bool importiert);

}  // namespace lw::ui
