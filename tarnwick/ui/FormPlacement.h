#pragma once

class QWidget;

// Moves a top-level form to the middle of the screen it is on.
void CentreOnScreen(QWidget* form);

// Shows a form that is open already in front of the others, from a minimised state
// too: with no task-bar entry, a minimised form could not be reached otherwise.
void BringForward(QWidget* form);

// Fractional point sizes (14.25, 8.25) that the form files cannot hold.
void SetPointSizeF(QWidget* widget, double pointSize);
