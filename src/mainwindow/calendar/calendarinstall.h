#pragma once
// Puts the calendar page into the main window: the month calendar with its
// header in calendarArea, and the columns of the festival settings grid.

class IDesktop;
class IFileDialog;
class IMessageBox;
class TDataModule1;
class TMainFrm;
class CalendarPage;

void installCalendar(TMainFrm& frm, TDataModule1& dm, IMessageBox& messages, IFileDialog& files, IDesktop& desktop);

// The page installed into a main window, or nullptr.
CalendarPage* calendarPageOf(TMainFrm& frm);
