#pragma once

class QWidget;

// The hints of the start window's buttons and its home-page label.
void TooltippsStart(QWidget& form2);
