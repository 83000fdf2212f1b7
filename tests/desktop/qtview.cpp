#include "desktop/qtview.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/errors.h"
#include "desktop/axeswidget.h"
#include "desktop/figurewindow.h"
#include "desktop/qtfiledialogs.h"
#include "tests/desktop/qttesting.h"
#include "tests/testing.h"

namespace tarvolin {
namespace {

using testing::serveEvents;

// A model with the view on it; every callback run is recorded.
struct ViewFixture : ::testing::Test {
  ViewFixture()
      : view((testing::qtApplication(), graphics), [this](Handle h) { ran.push_back(h); }) {}
  ~ViewFixture() override {
    while (!graphics.object(kRoot).children.empty()) {
      graphics.close(graphics.object(kRoot).children.back());
    }
    serveEvents();
  }

  Handle control(Handle window, ControlStyle style, const std::string& tag,
                 Eigen::Vector4d position = Eigen::Vector4d(20, 500, 100, 24)) {
    ControlSpec described;
    described.style = style;
    described.tag = tag;
    described.string = tag + " text";
    described.callback = "callback of " + tag;
    described.position = position;
    described.tooltip = "what " + tag + " does";
    return graphics.uicontrol(window, described);
  }

  Graphics graphics;
  QtView view;
  std::vector<Handle> ran;
};

using QtViewControls = ViewFixture;

TEST_F(QtViewControls, ShowWhatTheModelHoldsAndFollowItsChanges) {
  const Handle w = graphics.figure();
  const Handle button = control(w, ControlStyle::pushbutton, "Go");
  const Handle radio = control(w, ControlStyle::radiobutton, "Ln");
  const Handle box = control(w, ControlStyle::text, "FileBox");
  const Handle edit = control(w, ControlStyle::edit, "StandardBox");

  auto* pushButton = qobject_cast<QPushButton*>(view.control(button));
  auto* radioButton = qobject_cast<QRadioButton*>(view.control(radio));
  auto* label = qobject_cast<QLabel*>(view.control(box));
  auto* lineEdit = qobject_cast<QLineEdit*>(view.control(edit));
  ASSERT_TRUE(pushButton && radioButton && label && lineEdit);
  EXPECT_EQ(pushButton->text(), "Go text");
  EXPECT_EQ(pushButton->toolTip(), "what Go does");

  graphics.set(button, "Enable", std::string("Off"));
  graphics.set(radio, "Value", 1.0);
  graphics.set(box, "String", std::string("skulls.txt \nhas 40 specimens \nwith 14 landmarks"));
  graphics.set(edit, "String", std::string("2.5000"));
  EXPECT_FALSE(pushButton->isEnabled());
  EXPECT_TRUE(radioButton->isChecked());
  EXPECT_EQ(label->text(), "skulls.txt \nhas 40 specimens \nwith 14 landmarks");
  EXPECT_EQ(lineEdit->text(), "2.5000");

  graphics.set(button, "Enable", std::string("on"));
  graphics.set(radio, "Value", 0.0);
  EXPECT_TRUE(pushButton->isEnabled());
  EXPECT_FALSE(radioButton->isChecked());
}

TEST_F(QtViewControls, StandWhereTheModelPutsThemMeasuredFromTheBottomLeft) {
  const Handle w = graphics.figure();
  graphics.set(w, "Position", Eigen::MatrixXd(Eigen::RowVector4d(100, 100, 660, 560)));
  const Handle button = control(w, ControlStyle::pushbutton, "Go", {20, 500, 120, 24});
  const QRect shown = view.control(button)->geometry();
  EXPECT_EQ(shown, QRect(20, 560 - 500 - 24, 120, 24));
}

TEST_F(QtViewControls, ClicksTogglesAndEditsReachTheModelBeforeTheCallbackRuns) {
  const Handle w = graphics.figure();
  const Handle button = control(w, ControlStyle::pushbutton, "Go", {20, 500, 100, 24});
  const Handle radio = control(w, ControlStyle::radiobutton, "Ln", {20, 460, 100, 24});
  const Handle check = control(w, ControlStyle::checkbox, "CSBox", {20, 420, 100, 24});
  const Handle edit = control(w, ControlStyle::edit, "StandardBox", {20, 380, 100, 24});
  serveEvents();

  QTest::mouseClick(view.control(button), Qt::LeftButton);
  EXPECT_EQ(ran, std::vector<Handle>{button});

  QTest::mouseClick(view.control(radio), Qt::LeftButton);
  EXPECT_EQ(graphics.getNumber(radio, "Value"), 1);
  QTest::mouseClick(view.control(check), Qt::LeftButton);
  EXPECT_EQ(graphics.getNumber(check, "Value"), 1);
  QTest::mouseClick(view.control(check), Qt::LeftButton);
  EXPECT_EQ(graphics.getNumber(check, "Value"), 0);
  EXPECT_EQ(ran, (std::vector<Handle>{button, radio, check, check}));

  auto* lineEdit = qobject_cast<QLineEdit*>(view.control(edit));
  lineEdit->setFocus();
  lineEdit->selectAll();
  QTest::keyClicks(lineEdit, "1.75");
  QTest::keyClick(lineEdit, Qt::Key_Return);
  EXPECT_EQ(graphics.getString(edit, "String"), "1.75");
  EXPECT_EQ(ran.back(), edit);

  // A disabled button cannot be clicked.
  graphics.set(button, "Enable", std::string("off"));
  ran.clear();
  QTest::mouseClick(view.control(button), Qt::LeftButton);
  EXPECT_TRUE(ran.empty());
}

TEST_F(QtViewControls, TabMovesInReadingOrderAndOnlyThroughControlsThatTakeInput) {
  const Handle w = graphics.figure();
  // Made out of order: bottom right, top left, a label, top right.
  const Handle third = control(w, ControlStyle::pushbutton, "C", {200, 400, 100, 24});
  const Handle first = control(w, ControlStyle::pushbutton, "A", {20, 500, 100, 24});
  control(w, ControlStyle::text, "", {20, 450, 100, 24});
  const Handle second = control(w, ControlStyle::edit, "B", {200, 500, 100, 24});
  EXPECT_EQ(view.control(first)->nextInFocusChain(), view.control(second));
  EXPECT_EQ(view.control(second)->nextInFocusChain(), view.control(third));
}

using QtViewWindows = ViewFixture;

TEST_F(QtViewWindows, ClosingTheLastVisibleWindowClosesEveryWindowAndSaysSo) {
  const Handle main = graphics.figure();
  const Handle plot = graphics.figure();
  const Handle hidden = graphics.figure();
  graphics.set(hidden, "Visible", std::string("off"));
  serveEvents();
  QSignalSpy lastClosed(&view, &QtView::lastWindowClosed);

  view.window(plot)->close();
  EXPECT_FALSE(graphics.isValid(plot));
  EXPECT_TRUE(graphics.isValid(main));
  EXPECT_EQ(lastClosed.count(), 0);

  view.window(main)->close();
  EXPECT_TRUE(graphics.object(kRoot).children.empty());
  EXPECT_EQ(lastClosed.count(), 1);
  serveEvents();
  EXPECT_EQ(view.window(hidden), nullptr);
}

TEST_F(QtViewWindows, AWindowClosedByTheModelGoesFromTheScreen) {
  const Handle w = graphics.figure();
  serveEvents();
  QPointer<FigureWindow> shown = view.window(w);
  ASSERT_TRUE(shown && shown->isVisible());
  graphics.close(w);
  serveEvents();
  EXPECT_TRUE(shown.isNull());
}

TEST_F(QtViewWindows, FollowTheModelsPositionsAndWriteBackWhereTheyReallyAre) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(graphics.object(kRoot).details().position(2), screen.width());
  EXPECT_EQ(graphics.object(kRoot).details().position(3), screen.height());

  const Handle w = graphics.figure();
  serveEvents();
  FigureWindow* window = view.window(w);
  const int bar = window->barHeight();
  ASSERT_GT(bar, 0);
  // The bar below the drawing area counts as frame.
  const GraphicsObject& o = graphics.object(w);
  EXPECT_EQ(o.details().outerPosition(3), o.details().position(3) + bar);
  EXPECT_EQ(o.details().outerPosition(1), o.details().position(1) - bar);

  // Moving the outer corner as window placement does.
  graphics.set(w, "OuterPosition", Eigen::MatrixXd(Eigen::RowVector4d(0, 0, 400, 300)));
  const QRect frame = window->frameGeometry();
  EXPECT_EQ(frame.left(), screen.left());
  EXPECT_EQ(frame.bottom(), screen.bottom());
  EXPECT_EQ(frame.size(), QSize(400, 300));
  // The drawing area is what is left inside the frame, above the bar.
  EXPECT_EQ(graphics.object(w).details().position(3), window->geometry().height() - bar);
  EXPECT_EQ(graphics.object(w).details().position(2), window->geometry().width());

  // The user moves the window: the model learns where it is.
  window->move(screen.left() + 50, screen.top() + 60);
  serveEvents();
  EXPECT_EQ(graphics.object(w).details().outerPosition(0), 50);
  EXPECT_EQ(graphics.object(w).details().outerPosition(1), screen.height() - 60 - 300);
}

TEST_F(QtViewWindows, APlotWindowOpensBesideTheWindowWithControlsNotOverIt) {
  const Handle main = graphics.figure();
  graphics.set(main, "Position", Eigen::MatrixXd(Eigen::RowVector4d(0, 100, 200, 300)));
  control(main, ControlStyle::pushbutton, "Go", {10, 10, 80, 24});
  serveEvents();
  const Handle plot = graphics.figure();
  serveEvents();
  EXPECT_FALSE(view.window(plot)->frameGeometry().intersects(view.window(main)->frameGeometry()));
  EXPECT_GT(graphics.object(plot).details().outerPosition(0),
            graphics.object(main).details().outerPosition(0));
}

// New windows open beside the others where the screen has room, and where
// it has none, still never over the main window's controls.
TEST_F(QtViewWindows, NewWindowsOpenBesideTheOthersNeverOverTheMainWindowsControls) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_GE(area.width(), 700);
  ASSERT_GE(area.height(), 560);
  struct Opened {
    QSize size;
    bool controls;  // a report window; else a window of plots
  };
  struct Case {
    const char* what;
    QSize main;
    std::vector<Opened> opened;
    bool roomForAll;  // no window covers another
  };
  const std::vector<Case> cases{
      {"a small main window",
       {300, 250},
       {{{300, 250}, false}, {{350, 280}, true}, {{300, 250}, false}},
       true},
      {"a report first", {300, 250}, {{{350, 280}, true}, {{300, 250}, false}}, true},
      {"a main window as large as the screen",
       {area.width() - 20, area.height() - 60},
       {{{300, 250}, false}, {{300, 200}, true}},
       false},
  };
  for (const Case& c : cases) {
    const Handle main = graphics.figure();
    graphics.set(main, "Position",
                 Eigen::MatrixXd(Eigen::RowVector4d(0, area.height() - c.main.height() - 40,
                                                    c.main.width(), c.main.height())));
    // The controls in the left part of the main window only.
    control(main, ControlStyle::pushbutton, "Go", {10, 10, 180, 24});
    control(main, ControlStyle::edit, "Box", {10, c.main.height() - 40.0, 180, 24});
    serveEvents();
    const QRect controls = view.window(main)->controlsArea();
    ASSERT_FALSE(controls.isEmpty()) << c.what;
    std::vector<Handle> windows{main};
    for (const Opened& o : c.opened) {
      const Handle w = graphics.figure();
      // Where a layout would put it: over the main window.
      graphics.set(w, "Position",
                   Eigen::MatrixXd(Eigen::RowVector4d(20, area.height() - o.size.height() - 60,
                                                      o.size.width(), o.size.height())));
      if (o.controls) control(w, ControlStyle::pushbutton, "Copy", {10, 10, 100, 24});
      serveEvents();
      windows.push_back(w);
    }
    for (size_t i = 1; i < windows.size(); ++i) {
      const QRect frame = view.window(windows[i])->frameGeometry();
      EXPECT_TRUE(area.contains(frame))
          << c.what << " window " << i << ": " << frame.x() << "," << frame.y() << " "
          << frame.width() << "x" << frame.height() << " in " << area.width() << "x"
          << area.height();
      EXPECT_FALSE(frame.intersects(controls)) << c.what << " window " << i;
      for (size_t j = 0; j < i && c.roomForAll; ++j) {
        EXPECT_FALSE(frame.intersects(view.window(windows[j])->frameGeometry()))
            << c.what << " windows " << j << " and " << i;
      }
    }
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) graphics.close(*it);
    serveEvents();
  }
}

TEST_F(QtViewWindows, AWindowSmallerThanItsLayoutScrollsInsteadOfCuttingControlsOff) {
  const Handle w = graphics.figure();
  graphics.set(w, "Position", Eigen::MatrixXd(Eigen::RowVector4d(0, 0, 660, 560)));
  const Handle low = control(w, ControlStyle::pushbutton, "Low", {20, 10, 100, 24});
  graphics.set(w, "OuterPosition", Eigen::MatrixXd(Eigen::RowVector4d(0, 0, 400, 300)));
  serveEvents();
  // The control keeps its place in the layout, below what the window shows.
  EXPECT_EQ(view.control(low)->geometry().top(), 560 - 10 - 24);
  EXPECT_GE(view.control(low)->parentWidget()->height(), 560);
}

using QtViewServices = ViewFixture;

TEST_F(QtViewServices, AMessageBoxHasNoTitleDoesNotWaitAndShowsInTheStatusLine) {
  const Handle w = graphics.figure();
  control(w, ControlStyle::pushbutton, "Go");
  graphics.msgbox("Fell Through case in switchyard");
  const std::vector<QMessageBox*> boxes = view.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]->text(), "Fell Through case in switchyard");
  EXPECT_TRUE(boxes[0]->windowTitle().isEmpty());
  EXPECT_EQ(boxes[0]->windowModality(), Qt::NonModal);
  EXPECT_TRUE(boxes[0]->isVisible());
  EXPECT_EQ(view.window(w)->barText(), "Fell Through case in switchyard");
}

TEST_F(QtViewServices, TheLastErrorStaysInViewUntilTheNextActionClearsIt) {
  const Handle w = graphics.figure();
  graphics.setLastError("Error in LoadData: skulls.txt:3: the line holds text");
  EXPECT_EQ(view.window(w)->barText(), "Error in LoadData: skulls.txt:3: the line holds text");
  EXPECT_TRUE(view.statusIsError());
  // A window opened later starts with a line of its own.
  const Handle later = graphics.figure();
  EXPECT_TRUE(view.window(later)->barText().isEmpty());
  graphics.figure(w);
  // A list runs on in the one line of the bar.
  graphics.setLastError(
      "a.csv: 2 specimens have missing landmarks:\nspecimen \"a\": landmark 5\n"
      "specimen \"b\": landmarks 2, 11");
  EXPECT_EQ(view.window(w)->barText(),
            "a.csv: 2 specimens have missing landmarks: specimen \"a\": landmark 5; "
            "specimen \"b\": landmarks 2, 11");
  graphics.setLastError("");
  EXPECT_TRUE(view.window(w)->barText().isEmpty());
  // A message is not wiped by the next action's fresh start.
  graphics.msgbox("The number of values in the x-list does not match the data set, please reload");
  graphics.setLastError("");
  EXPECT_FALSE(view.window(w)->barText().isEmpty());
  for (QMessageBox* box : view.messageBoxes()) box->close();
}

TEST_F(QtViewServices, PrintPutsTheWindowsPictureOnTheClipboardAsSvgAndPng) {
  QGuiApplication::clipboard()->clear();
  graphics.figure();
  graphics.plot3(Eigen::RowVector3d(0, 1, 2), Eigen::RowVector3d(0, 1, 0),
                 Eigen::RowVector3d(1, 0, 1), "bo");
  serveEvents();
  graphics.print("-dmeta");
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));
  ASSERT_TRUE(data->hasImage());
  const QImage image = qvariant_cast<QImage>(data->imageData());
  EXPECT_FALSE(image.isNull());
  EXPECT_GT(image.width(), 100);

  // A window cleared of its plots leaves the clipboard as it was.
  const QByteArray before = data->data("image/svg+xml");
  graphics.clearObject(graphics.gcf());
  serveEvents();
  graphics.print("-dmeta");
  EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("image/svg+xml"), before);
  EXPECT_EQ(view.statusText(), "The window has no plot to copy");
}

// A report: its box in a fixed-width font, so that a table's columns line
// up, and its text onto the clipboard as plain text.
TEST_F(QtViewServices, AReportBoxShowsAFixedWidthFontAndItsTextGoesOnTheClipboard) {
  const Handle w = graphics.figure();
  const Handle report = control(w, ControlStyle::text, "AllometryText");
  auto* label = qobject_cast<QLabel*>(view.control(report));
  ASSERT_NE(label, nullptr);
  const QFont plain = label->font();
  graphics.set(report, "FontName", std::string("monospace"));
  EXPECT_EQ(label->font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
  EXPECT_EQ(graphics.getString(report, "FontName"), "monospace");
  graphics.set(report, "FontName", std::string());
  EXPECT_EQ(label->font(), plain);

  const std::string table = "            Df\nsize         1\n";
  graphics.copyText(table);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), table);
  EXPECT_EQ(graphics.textClipboard(), table);
}

TEST_F(QtViewServices, APictureIsSavedAsPngSvgOrPdfAndAFailedSaveLeavesTheFileAlone) {
  testing::TempDir dir;
  const Handle w = graphics.figure();
  graphics.plot3(Eigen::RowVector3d(0, 1, 2), Eigen::RowVector3d(0, 1, 0),
                 Eigen::RowVector3d(1, 0, 1), "r*");
  serveEvents();
  FigureWindow* window = view.window(w);
  window->savePictureTo(QString::fromStdString(dir.file("plot.png")));
  window->savePictureTo(QString::fromStdString(dir.file("plot.SVG")));
  window->savePictureTo(QString::fromStdString(dir.file("plot.pdf")));
  EXPECT_EQ(testing::readText(dir.file("plot.png")).substr(1, 3), "PNG");
  EXPECT_NE(testing::readText(dir.file("plot.SVG")).find("<svg"), std::string::npos);
  EXPECT_EQ(testing::readText(dir.file("plot.pdf")).substr(0, 5), "%PDF-");

  testing::writeText(dir.file("keep.txt"), "precious");
  EXPECT_THROW_MSG(window->savePictureTo(QString::fromStdString(dir.file("keep.txt"))), OutputError,
                   "keep.txt");
  EXPECT_EQ(testing::readText(dir.file("keep.txt")), "precious");
  EXPECT_THROW(window->savePictureTo(QString::fromStdString(dir.file("no/such/folder/p.png"))),
               OutputError);
}

// Answers the file dialog that opens next, as a user would, and notes what
// it showed.
struct DialogSeen {
  QString title;
  QString folder;
  QStringList filters;
  bool save = false;
};

void answerNextDialog(DialogSeen& seen, const QString& file) {
  QTimer::singleShot(0, [&seen, file] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = {dialog->windowTitle(), dialog->directory().absolutePath(), dialog->nameFilters(),
            dialog->acceptMode() == QFileDialog::AcceptSave};
    if (file.isEmpty()) {
      dialog->reject();
    } else {
      dialog->selectFile(file);
      static_cast<QDialog*>(dialog)->accept();  // as the Open or Save button does
    }
  });
}

TEST(QtFileDialogs, AskWithTheWorkflowsTitleAndFilterStartingInTheWorkingDirectory) {
  testing::qtApplication();
  testing::TempDir dir;
  testing::CwdGuard cwd;
  std::filesystem::current_path(dir.file(""));
  testing::writeText(dir.file("skulls.txt"), "1 2 3 4\n");
  QtFileDialogs dialogs;
  const QString here = QDir::current().absolutePath();

  DialogSeen seen;
  answerNextDialog(seen, QString::fromStdString(dir.file("skulls.txt")));
  const std::optional<FileChoice> opened = dialogs.getFile("*.txt", "Enter x list");
  EXPECT_EQ(seen.title, "Enter x list");
  EXPECT_EQ(seen.folder, here);
  EXPECT_EQ(seen.filters, (QStringList{"Text files (*.txt)", "All files (*)"}));
  EXPECT_FALSE(seen.save);
  ASSERT_TRUE(opened.has_value());
  EXPECT_EQ(opened->name, "skulls.txt");
  EXPECT_EQ(opened->path(), dir.file("skulls.txt"));
  EXPECT_EQ(dialogs.takeOpened(), QString::fromStdString(dir.file("skulls.txt")));
  EXPECT_TRUE(dialogs.takeOpened().isEmpty());

  answerNextDialog(seen, QString::fromStdString(dir.file("new.txt")));
  const std::optional<FileChoice> saved =
      dialogs.putFile("*.txt", "File Name for Standardized Data");
  EXPECT_TRUE(seen.save);
  ASSERT_TRUE(saved.has_value());
  EXPECT_EQ(saved->path(), dir.file("new.txt"));

  answerNextDialog(seen, QString());
  EXPECT_FALSE(dialogs.getFile(kLandmarkFilter, "Enter file to Load?").has_value());
  EXPECT_EQ(seen.filters,
            (QStringList{"Landmark files (*.txt *.tps *.nts *.csv *.tsv *.fcsv *.json)",
                         "All files (*)"}));

  // An answer given beforehand is taken once, without a dialog.
  dialogs.answerNextOpen(QString::fromStdString(dir.file("skulls.txt")));
  EXPECT_EQ(dialogs.getFile("*.*", "Enter file to Load?")->name, "skulls.txt");
  answerNextDialog(seen, QString());
  EXPECT_FALSE(dialogs.getFile("*.*", "Enter file to Load?").has_value());
}

// The missing-landmarks question on the screen: a button for each choice
// and Cancel, the whole list under Show Details.
TEST(QtFileDialogs, AQuestionShowsAButtonForEachChoiceAndTheWholeList) {
  testing::qtApplication();
  QtFileDialogs dialogs;
  const std::vector<DialogChoice> choices = {{"drop-specimens", "Drop specimens"},
                                             {"drop-landmarks", "Drop landmarks"},
                                             {"estimate", "Estimate"}};
  const struct {
    QString clicked;  // the button's text; "" for Cancel
    std::optional<std::string> answer;
  } cases[] = {{"Estimate", "estimate"}, {"Drop landmarks", "drop-landmarks"}, {"", std::nullopt}};
  for (const auto& c : cases) {
    QStringList buttons;
    QString details;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      details = box->detailedText();
      for (QAbstractButton* b : box->buttons()) {
        if (box->buttonRole(b) != QMessageBox::ActionRole) buttons << b->text();
      }
      for (QAbstractButton* b : box->buttons()) {
        const bool cancel = box->buttonRole(b) == QMessageBox::RejectRole;
        if ((c.clicked.isEmpty() && cancel) || (!c.clicked.isEmpty() && b->text() == c.clicked)) {
          b->click();
          return;
        }
      }
    });
    EXPECT_EQ(dialogs.askChoice("Missing landmarks", "2 specimens have missing landmarks",
                                "specimen \"a\": landmark 2\nspecimen \"b\": landmark 5", choices),
              c.answer);
    EXPECT_TRUE(buttons.contains("Drop specimens")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(buttons.contains("Estimate"));
    EXPECT_EQ(details, "specimen \"a\": landmark 2\nspecimen \"b\": landmark 5");
  }
}

TEST(QtFileFilter, OffersTheWorkflowsPatternFirstAndAllFilesBesideIt) {
  EXPECT_EQ(qtfilefilter("*.txt"), "Text files (*.txt);;All files (*)");
  EXPECT_EQ(qtfilefilter("*.*"), "All files (*)");
  EXPECT_EQ(qtfilefilter("*.tps"), "TPS files (*.tps);;All files (*)");
  EXPECT_EQ(qtfilefilter("*.txt;*.dat"), "Files (*.txt *.dat);;All files (*)");
}

// What each dialog of the workflows offers first: the data set's every
// format the readers know, the x list's every file (its values may sit in
// any file), the wireframe's text files.
TEST(QtFileFilter, EachDialogOffersTheFilesItsStepReads) {
  const std::string landmarks =
      "Landmark files (*.txt *.tps *.nts *.csv *.tsv *.fcsv *.json);;All files (*)";
  const struct {
    std::string_view filter, title;
    std::string offered;
  } cases[] = {
      {kLandmarkFilter, "Enter file to Load?", landmarks},    // Load data
      {"*.txt", "Specify 3D input file to load", landmarks},  // Load data, TPS file switched on
      {"*.*", "Enter file to Load?", "All files (*)"},        // Load x list
      {"*.txt", "Enter file to Load?", "Text files (*.txt);;All files (*)"},  // Load wireframe
      {"*.txt;*.csv;*.tsv", "Load the specimens' groups",
       "Files (*.txt *.csv *.tsv);;All files (*)"},
      {"*.txt", "Enter x list", "Text files (*.txt);;All files (*)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qtdialogfilter(c.filter, c.title).toStdString(), c.offered) << c.title;
  }
}

}  // namespace
}  // namespace tarvolin
