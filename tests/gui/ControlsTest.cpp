// The image button and the message dialogs against real widgets under a virtual display.
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "ControlsTestSupport.h"
#include "controls/MyDialogs.h"
#include "controls/RynImgBtn.h"

using skribo::TMessageForm;
using skribo::TMsgDlgType;
using skribo::TRynImgBtn;
using TState = skribo::TRynImgBtn::TButtonState;

Q_DECLARE_METATYPE(TState)
Q_DECLARE_METATYPE(skribo::TMsgDlgType)

using namespace skribo::test;

class TControlsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> Host;
  QWidget* Under = nullptr;  // a sibling lying under the buttons' place
  QWidget* Probe = nullptr;  // a sibling whose repaint flushes every pending paint
  TRynImgBtn* Btn = nullptr;

  TRynImgBtn* MakeButton(bool lowColor = false) {
    auto* button = new TRynImgBtn(Host.get(), lowColor);
    button->move(10, 10);
    button->show();
    return button;
  }
  void SetFourImages(TRynImgBtn& button) {
    button.SetImg1(Solid(20, 20, Red));
    button.SetImg2(Solid(20, 20, Green));
    button.SetImg3(Solid(20, 20, Blue));
    button.SetImg4(Solid(10, 10, Yellow));
  }
  // The colour a fresh paint of the host gives at a point of a button, with everything under it.
  QColor ColourAt(QWidget* button, QPoint pos) const {
    return Host->grab(QRect(button->mapTo(Host.get(), pos), QSize(1, 1)))
        .toImage()
        .pixelColor(0, 0);
  }
  bool Flush(TPaintCounter& probeCounter) {
    const int before = probeCounter.Count;
    Probe->update();
    return QTest::qWaitFor([&] { return probeCounter.Count > before; });
  }

 private slots:
  void initTestCase() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Velmora Skribo"));
  }

  void init() {
    Host = std::make_unique<QWidget>();
    Host->setAutoFillBackground(true);
    QPalette palette = Host->palette();
    palette.setColor(QPalette::Window, Grey);
    Host->setPalette(palette);
    Host->setGeometry(40, 40, 240, 120);
    Under = new QWidget(Host.get());
    Under->setAutoFillBackground(true);
    palette.setColor(QPalette::Window, Teal);
    Under->setPalette(palette);
    Under->setGeometry(0, 0, 60, 60);
    Probe = new QWidget(Host.get());
    Probe->setGeometry(200, 80, 10, 10);
    Btn = MakeButton();
    Host->show();
    QVERIFY(QTest::qWaitForWindowExposed(Host.get()));
  }
  void cleanup() { Host.reset(); }

  void imageByState_data() {
    QTest::addColumn<QString>("steps");  // e enter, p press, d disable, l lock, u unlock
    QTest::addColumn<QColor>("inner");   // inside the 10 x 10 disabled image
    QTest::addColumn<QColor>("outer");   // outside it
    QTest::addColumn<TState>("state");
    QTest::newRow("normal") << "" << Red << Red << TState::Up;
    QTest::newRow("hover") << "e" << Green << Green << TState::Up;
    QTest::newRow("pressed") << "p" << Blue << Blue << TState::Down;
    QTest::newRow("hover then pressed") << "ep" << Blue << Blue << TState::Down;
    QTest::newRow("disabled") << "d" << Yellow << Grey << TState::Disabled;
    QTest::newRow("locked") << "l" << Blue << Blue << TState::Down;
    QTest::newRow("unlocked while hovering") << "elu" << Red << Red << TState::Up;
    QTest::newRow("disabled, then locked") << "dl" << Yellow << Blue << TState::Down;
    QTest::newRow("locked, then disabled") << "ld" << Yellow << Grey << TState::Disabled;
  }
  void imageByState() {
    QFETCH(QString, steps);
    QFETCH(QColor, inner);
    QFETCH(QColor, outer);
    QFETCH(TState, state);
    SetFourImages(*Btn);
    for (QChar step : steps) {
      if (step == 'e') Enter(Btn);
      if (step == 'p') Press(Btn, Qt::LeftButton);
      if (step == 'd') Btn->SetEnabled(false);
      if (step == 'l') Btn->SetLockPushed(true);
      if (step == 'u') Btn->SetLockPushed(false);
    }
    QCOMPARE(Btn->ButtonState(), state);
    QCOMPARE(ColourAt(Btn, {5, 5}), inner);
    QCOMPARE(ColourAt(Btn, {15, 15}), outer);
  }

  void onlyImg1ShowsEverywhere() {
    Btn->SetImg1(Solid(20, 20, Red));
    QCOMPARE(Btn->Img2(), Btn->Img1());
    QCOMPARE(Btn->Img3(), Btn->Img1());
    QVERIFY(Btn->Img4().isNull());
    Enter(Btn);
    QCOMPARE(ColourAt(Btn, {15, 15}), Red);
    Press(Btn, Qt::LeftButton);
    QCOMPARE(ColourAt(Btn, {15, 15}), Red);
    Release(Btn, Qt::LeftButton);
    Btn->SetEnabled(false);
    QCOMPARE(ColourAt(Btn, {15, 15}), Red);
  }

  void imagesLaterThanImg1AreCompletedWhenPainted() {
    // Img2 and Img3 already hold pictures when Img1 arrives; emptying them later gets Img1 back.
    SetFourImages(*Btn);
    Btn->SetImg3(QImage());
    Press(Btn, Qt::LeftButton);
    QCOMPARE(ColourAt(Btn, {15, 15}), Red);
    QCOMPARE(Btn->Img3(), Btn->Img1());
  }

  void repaintsWhenNeeded_data() {
    QTest::addColumn<bool>("hovering");
    QTest::addColumn<int>("image");
    QTest::addColumn<bool>("repaints");
    QTest::newRow("Img2 outside") << false << 2 << false;
    QTest::newRow("Img2 while hovering") << true << 2 << true;
    QTest::newRow("Img3 outside") << false << 3 << true;
    QTest::newRow("Img4 outside") << false << 4 << true;
  }
  void repaintsWhenNeeded() {
    QFETCH(bool, hovering);
    QFETCH(int, image);
    QFETCH(bool, repaints);
    SetFourImages(*Btn);
    if (hovering) Enter(Btn);
    TPaintCounter probe(Probe);
    TPaintCounter button(Btn);
    QVERIFY(Flush(probe));
    button.Count = 0;
    const QImage white = Solid(20, 20, Qt::white);
    if (image == 2) Btn->SetImg2(white);
    if (image == 3) Btn->SetImg3(white);
    if (image == 4) Btn->SetImg4(white);
    QVERIFY(Flush(probe));
    QCOMPARE(button.Count > 0, repaints);
    if (!hovering && image == 2) {
      // The new hover image is there at the next enter.
      Enter(Btn);
      QCOMPARE(ColourAt(Btn, {5, 5}), QColor(Qt::white));
    }
  }

  void autoSize() {
    Btn->resize(60, 20);
    Btn->SetAutoSize(false);
    Btn->SetImg1(Solid(39, 39, Red));
    QCOMPARE(Btn->size(), QSize(60, 20));
    Btn->SetAutoSize(true);
    QCOMPARE(Btn->size(), QSize(39, 39));
    Btn->SetImg1(Solid(55, 39, Red));
    QCOMPARE(Btn->size(), QSize(55, 39));
  }

  void stretchAndIcon() {
    Btn->SetAutoSize(false);
    Btn->resize(21, 21);
    Btn->SetImg1(Solid(10, 10, Red));
    Btn->SetImgIcon(Solid(4, 4, Magenta));
    // (21 - 4) div 2 = 8: the icon covers 8 to 11.
    QCOMPARE(ColourAt(Btn, {8, 8}), Magenta);
    QCOMPARE(ColourAt(Btn, {11, 11}), Magenta);
    QCOMPARE(ColourAt(Btn, {7, 7}), Red);
    QCOMPARE(ColourAt(Btn, {12, 12}), Grey);  // the parent's colour, not what lies under
    Btn->SetStretch(true);
    QCOMPARE(ColourAt(Btn, {18, 18}), Red);
    QCOMPARE(ColourAt(Btn, {9, 9}), Magenta);
  }

  void lowColour() {
    auto* low = MakeButton(true);
    QVERIFY(low->IsLowColor());
    low->SetImgIcon(Solid(4, 4, Magenta));
    // Without Img1 the low-colour rule does not apply: the icon shows.
    low->resize(20, 20);
    QCOMPARE(ColourAt(low, {9, 9}), Magenta);
    low->SetImg1(Solid(20, 20, Red));
    const QColor face = low->palette().color(QPalette::Button);
    QVERIFY(face != Red && face != Magenta);
    QCOMPARE(ColourAt(low, {2, 2}), face);
    QCOMPARE(ColourAt(low, {9, 9}), face);
  }

  void transparency_data() {
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<QColor>("key");
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<QColor>("left");    // where the picture is black
    QTest::addColumn<QColor>("right");   // where it is red
    QTest::addColumn<QColor>("centre");  // where the icon would be
    QTest::newRow("opaque") << false << QColor(Qt::black) << false << QColor(Qt::black) << Red
                            << Magenta;
    QTest::newRow("black key") << true << QColor(Qt::black) << false << Teal << Red << Red;
    QTest::newRow("red key") << true << Red << false << QColor(Qt::black) << Teal << Teal;
    QTest::newRow("no colour") << true << QColor() << false << QColor(Qt::black) << Red << Red;
    QTest::newRow("black key, stretched")
        << true << QColor(Qt::black) << true << Teal << Red << Red;
  }
  void transparency() {
    QFETCH(bool, transparent);
    QFETCH(QColor, key);
    QFETCH(bool, stretch);
    QFETCH(QColor, left);
    QFETCH(QColor, right);
    QFETCH(QColor, centre);
    Btn->SetAutoSize(false);
    Btn->resize(20, 20);
    Btn->SetImg1(stretch ? HalfBlack(10, 10) : HalfBlack(20, 20));
    Btn->SetImgIcon(Solid(2, 2, Magenta));  // at 9 to 10
    Btn->SetStretch(stretch);
    Btn->SetTransparentColor(key);
    Btn->SetTransparent(transparent);
    QCOMPARE(ColourAt(Btn, {3, 15}), left);
    QCOMPARE(ColourAt(Btn, {16, 3}), right);
    QCOMPARE(ColourAt(Btn, {10, 10}), centre);
  }

  void transparentBackToOpaqueFillsWithParentColour() {
    Btn->SetAutoSize(false);
    Btn->resize(20, 20);
    Btn->SetImg1(HalfBlack(20, 20));
    Btn->SetTransparent(true);
    QCOMPARE(ColourAt(Btn, {3, 3}), Teal);
    Btn->SetImg1(Solid(10, 10, Red));
    Btn->SetTransparent(false);
    QCOMPARE(ColourAt(Btn, {15, 15}), Grey);
  }

  void mouseEventsOfAnActiveButton() {
    SetFourImages(*Btn);
    QStringList log;
    connect(Btn, &TRynImgBtn::Click, this, [&] { log << "click"; });
    connect(Btn, &TRynImgBtn::DblClick, this, [&] { log << "dblclick"; });
    connect(Btn, &TRynImgBtn::MouseDown, this,
            [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint p) {
              log << QStringLiteral("down %1 %2,%3").arg(int(b)).arg(p.x()).arg(p.y());
            });
    connect(Btn, &TRynImgBtn::MouseUp, this, [&](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
      log << QStringLiteral("up %1").arg(int(b));
    });
    connect(Btn, &TRynImgBtn::MouseMove, this, [&] { log << "move"; });
    connect(Btn, &TRynImgBtn::MouseEnter, this, [&] { log << "enter"; });
    connect(Btn, &TRynImgBtn::MouseLeave, this, [&] { log << "leave"; });

    Enter(Btn);
    Move(Btn, {6, 7});
    Press(Btn, Qt::LeftButton, {6, 7});
    Release(Btn, Qt::LeftButton, {6, 7});
    QCOMPARE(log, QStringList({"enter", "move", "down 1 6,7", "click", "up 1"}));
    log.clear();
    // The right button raises no mouse-down and no click.
    Press(Btn, Qt::RightButton);
    QCOMPARE(Btn->ButtonState(), TState::Up);
    Release(Btn, Qt::RightButton);
    QCOMPARE(log, QStringList({"up 2"}));
    log.clear();
    Press(Btn, Qt::LeftButton);
    Release(Btn, Qt::LeftButton);
    DoubleClick(Btn);
    Release(Btn, Qt::LeftButton);
    QCOMPARE(log, QStringList({"down 1 5,5", "click", "up 1", "dblclick", "down 1 5,5", "up 1"}));
    log.clear();
    // Dragged out with the button held: the pointer leaves, and the release there is no click.
    Press(Btn, Qt::LeftButton);
    Move(Btn, {30, 30}, Qt::LeftButton);
    QVERIFY(!Btn->IsMouseInside());
    QCOMPARE(Btn->ButtonState(), TState::Down);
    QCOMPARE(ColourAt(Btn, {15, 15}), Blue);
    Release(Btn, Qt::LeftButton, {30, 30});
    QCOMPARE(Btn->ButtonState(), TState::Up);
    QCOMPARE(log, QStringList({"down 1 5,5", "leave", "move"}));
  }

  void inertWhileDisabledOrLocked_data() {
    QTest::addColumn<bool>("locked");
    QTest::newRow("disabled") << false;
    QTest::newRow("locked pushed") << true;
  }
  void inertWhileDisabledOrLocked() {
    QFETCH(bool, locked);
    SetFourImages(*Btn);
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    Btn->SetPopupMenu(&menu);
    Btn->SetDropDownMenu(&menu);
    if (locked)
      Btn->SetLockPushed(true);
    else
      Btn->SetEnabled(false);
    const TState state = Btn->ButtonState();
    int events = 0;
    for (auto signal : {&TRynImgBtn::Click, &TRynImgBtn::DblClick, &TRynImgBtn::MouseEnter,
                        &TRynImgBtn::MouseLeave})
      connect(Btn, signal, this, [&] { ++events; });
    connect(Btn, &TRynImgBtn::MouseDown, this, [&] { ++events; });
    connect(Btn, &TRynImgBtn::MouseUp, this, [&] { ++events; });
    connect(Btn, &TRynImgBtn::MouseMove, this, [&] { ++events; });
    // A menu shown by mistake would block the release: close it and count it.
    int menusShown = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
      if (QWidget* open = QApplication::activePopupWidget()) {
        ++menusShown;
        open->close();
      }
    });
    closer.start(10);

    Enter(Btn);
    QVERIFY(Btn->IsMouseInside());
    QVERIFY(Btn->IsHover());
    Move(Btn, {6, 6});
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
      Press(Btn, b);
      QCOMPARE(Btn->ButtonState(), state);
      Release(Btn, b);
    }
    DoubleClick(Btn);
    Release(Btn, Qt::LeftButton);
    Leave(Btn);
    QVERIFY(!Btn->IsMouseInside());
    QCOMPARE(events, 0);
    QCOMPARE(menusShown, 0);
    QCOMPARE(Btn->ButtonState(), state);
  }

  void realPointerEntersAndLeaves() {
    SetFourImages(*Btn);
    QCursor::setPos(Host->mapToGlobal(QPoint(150, 50)));
    QCoreApplication::processEvents();
    QSignalSpy entered(Btn, &TRynImgBtn::MouseEnter);
    QSignalSpy left(Btn, &TRynImgBtn::MouseLeave);
    QCursor::setPos(Btn->mapToGlobal(QPoint(5, 5)));
    QTRY_VERIFY(Btn->IsMouseInside());
    QCOMPARE(entered.count(), 1);
    QCOMPARE(ColourAt(Btn, {15, 15}), Green);
    QCursor::setPos(Host->mapToGlobal(QPoint(150, 50)));
    QTRY_VERIFY(!Btn->IsMouseInside());
    QCOMPARE(left.count(), 1);
    QCOMPARE(ColourAt(Btn, {15, 15}), Red);
  }

  void menus_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");  // in the button
    QTest::addColumn<QPoint>("menuAt");
    QTest::newRow("drop-down, left") << Qt::LeftButton << QPoint(7, 4) << QPoint(0, 20);
    QTest::newRow("popup, right") << Qt::RightButton << QPoint(7, 4) << QPoint(7, 4);
  }
  void menus() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(QPoint, menuAt);
    SetFourImages(*Btn);
    QMenu dropDown;
    dropDown.addAction(QStringLiteral("drop-down item"));
    QMenu popup;
    popup.addAction(QStringLiteral("popup item"));
    Btn->SetDropDownMenu(&dropDown);
    Btn->SetPopupMenu(&popup);
    QMenu* expected = button == Qt::LeftButton ? &dropDown : &popup;

    QPoint shownAt;
    TState stateWhileOpen = TState::Up;
    QWidget* shown = nullptr;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
      QWidget* open = QApplication::activePopupWidget();
      if (open == nullptr || !open->isVisible()) return;
      shown = open;
      shownAt = open->geometry().topLeft();
      stateWhileOpen = Btn->ButtonState();
      open->close();
    });
    closer.start(10);
    Enter(Btn);
    Press(Btn, button, at);
    Release(Btn, button, at);  // returns when the menu has closed
    closer.stop();
    QCOMPARE(shown, expected);
    QCOMPARE(shownAt, Btn->mapToGlobal(menuAt));
    QCOMPARE(stateWhileOpen, TState::Down);
    QCOMPARE(Btn->ButtonState(), TState::Up);
    QVERIFY(!Btn->IsHover());
    QVERIFY(!Btn->IsMouseInside());
  }

  void removedMenuClearsReferenceAndRepaints() {
    SetFourImages(*Btn);
    auto* menu = new QMenu;
    menu->addAction(QStringLiteral("item"));
    Btn->SetPopupMenu(menu);
    Btn->SetDropDownMenu(menu);
    TPaintCounter probe(Probe);
    TPaintCounter button(Btn);
    QVERIFY(Flush(probe));
    button.Count = 0;
    delete menu;
    QVERIFY(Btn->PopupMenu() == nullptr);
    QVERIFY(Btn->DropDownMenu() == nullptr);
    QVERIFY(Flush(probe));
    QVERIFY(button.Count > 0);
  }

  void menuRemovedWhileOpen() {
    SetFourImages(*Btn);
    QPointer<QMenu> menu = new QMenu;
    menu->addAction(QStringLiteral("item"));
    Btn->SetPopupMenu(menu);
    QTimer remover;
    connect(&remover, &QTimer::timeout, this, [&] {
      if (menu && menu->isVisible()) delete menu.data();
    });
    remover.start(10);
    Press(Btn, Qt::RightButton);
    Release(Btn, Qt::RightButton);
    QVERIFY(menu.isNull());
    QVERIFY(Btn->PopupMenu() == nullptr);
    QCOMPARE(Btn->ButtonState(), TState::Up);
    // The next right click has no menu to show.
    Press(Btn, Qt::RightButton);
    Release(Btn, Qt::RightButton);
    QCOMPARE(Btn->ButtonState(), TState::Up);
  }

  void dontAskSkipsTheDialog() {
    TDialogAnswerer answerer([](TMessageForm& d) { d.done(skribo::mrNo); });
    bool dontAsk = true;
    const int result = skribo::MessageDlgWithCheck(
        Host.get(), u"Caption", u"Question?", TMsgDlgType::mtWarning, skribo::mbYes | skribo::mbNo,
        skribo::mrIgnore, 0, dontAsk, u"Remember");
    QCOMPARE(result, int(skribo::mrIgnore));
    QVERIFY(dontAsk);
    QCoreApplication::processEvents();
    QCOMPARE(answerer.Seen, 0);
    QVERIFY(Host->findChildren<TMessageForm*>().isEmpty());
  }

  void checkBoxPlacedUnderTheContent() {
    QRect content, box, client;
    QString caption, message, boxText;
    bool boxStartsClear = false;
    QString focused;
    TDialogAnswerer answerer([&](TMessageForm& d) {
      auto* check = d.findChild<QCheckBox*>(QStringLiteral("DontAskCheck"));
      QVERIFY(check != nullptr);
      content = d.Content()->geometry();
      box = check->geometry();
      client = d.rect();
      caption = d.windowTitle();
      message = d.findChild<QLabel*>(QStringLiteral("Message"))->text();
      boxText = check->text();
      boxStartsClear = !check->isChecked();
      focused = d.focusWidget() ? d.focusWidget()->objectName() : QString();
      d.ButtonFor(skribo::mrYes)->click();
    });
    bool dontAsk = false;
    const int result = skribo::MessageDlgWithCheck(
        Host.get(), u"Velmora Skribo", u"First paragraph.\r\n\r\nSecond paragraph?",
        TMsgDlgType::mtWarning, skribo::mbYes | skribo::mbNo, skribo::mrYes, 0, dontAsk,
        u"Don't ask me this again, remember my answer");
    QCOMPARE(answerer.Seen, 1);
    QCOMPARE(result, int(skribo::mrYes));
    QVERIFY(!dontAsk);
    QCOMPARE(caption, QStringLiteral("Velmora Skribo"));
    QCOMPARE(message, QStringLiteral("First paragraph.\n\nSecond paragraph?"));
    QCOMPARE(boxText, QStringLiteral("Don't ask me this again, remember my answer"));
    QVERIFY(boxStartsClear);
    QCOMPARE(focused, QStringLiteral("Yes"));
    QCOMPARE(content.topLeft(), QPoint(0, 0));
    QCOMPARE(box.x(), 16);
    QCOMPARE(box.y(), content.height());
    QCOMPARE(box.width(), content.width() - 32);
    QCOMPARE(box.height(), QCheckBox(QStringLiteral("x")).sizeHint().height());
    QCOMPARE(client.width(), content.width());
    QCOMPARE(client.height(), content.height() + box.height() + 8);
  }

  void tickingTheBoxIsReturned_data() {
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("answer");
    QTest::newRow("ticked, No") << true << int(skribo::mrNo);
    QTest::newRow("ticked, Yes") << true << int(skribo::mrYes);
    QTest::newRow("clear, No") << false << int(skribo::mrNo);
  }
  void tickingTheBoxIsReturned() {
    QFETCH(bool, tick);
    QFETCH(int, answer);
    TDialogAnswerer answerer([&](TMessageForm& d) {
      auto* check = d.findChild<QCheckBox*>("DontAskCheck");
      if (tick) QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
      QTest::mouseClick(d.ButtonFor(answer), Qt::LeftButton);
    });
    bool dontAsk = false;
    const int result = skribo::MessageDlgWithCheck(
        nullptr, u"", u"Question?", TMsgDlgType::mtConfirmation, skribo::mbYes | skribo::mbNo,
        skribo::mrYes, 0, dontAsk, u"Remember");
    QCOMPARE(result, answer);
    QCOMPARE(dontAsk, tick);
    QVERIFY(!answerer.LeftOpen);
  }

  void keysAnswer_data() {
    QTest::addColumn<unsigned>("buttons");
    QTest::addColumn<int>("defaultResult");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    using namespace skribo;
    const unsigned yesNo = mbYes | mbNo;
    QTest::newRow("Enter, default Yes") << yesNo << int(mrYes) << int(Qt::Key_Return) << int(mrYes);
    QTest::newRow("Enter, default No") << yesNo << int(mrNo) << int(Qt::Key_Enter) << int(mrNo);
    QTest::newRow("Escape, Yes No") << yesNo << int(mrYes) << int(Qt::Key_Escape) << int(mrNo);
    QTest::newRow("Escape, OK Cancel")
        << unsigned(mbOK | mbCancel) << int(mrOk) << int(Qt::Key_Escape) << int(mrCancel);
    QTest::newRow("Escape, OK") << unsigned(mbOK) << int(mrOk) << int(Qt::Key_Escape) << int(mrOk);
    QTest::newRow("Escape, Abort Retry Ignore")
        << unsigned(mbAbort | mbRetry | mbIgnore) << int(mrRetry) << int(Qt::Key_Escape)
        << int(mrCancel);
  }
  void keysAnswer() {
    QFETCH(unsigned, buttons);
    QFETCH(int, defaultResult);
    QFETCH(int, key);
    QFETCH(int, expected);
    TDialogAnswerer answerer([&](TMessageForm& d) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &d;
      QTest::keyClick(target, Qt::Key(key));
    });
    bool dontAsk = false;
    const int result =
        skribo::MessageDlgWithCheck(Host.get(), u"", u"Question?", TMsgDlgType::mtWarning, buttons,
                                    defaultResult, 0, dontAsk, u"Remember");
    QCOMPARE(result, expected);
    QVERIFY(!answerer.LeftOpen);
  }

  void closeBoxAnswersCancel() {
    TDialogAnswerer answerer([](TMessageForm& d) { d.close(); });
    QCOMPARE(skribo::ShowMessageDlg(Host.get(), u"Velmora Skribo", u"Message", TMsgDlgType::mtError,
                                    skribo::mbYes | skribo::mbNo),
             int(skribo::mrCancel));
    QVERIFY(!answerer.LeftOpen);
  }

  void ownerClosedWhileAsking() {
    auto* owner = new QWidget;
    owner->show();
    TDialogAnswerer answerer([&](TMessageForm&) { delete owner; });
    bool dontAsk = false;
    const int result = skribo::MessageDlgWithCheck(owner, u"", u"Question?", TMsgDlgType::mtWarning,
                                                   skribo::mbYes | skribo::mbNo, skribo::mrYes, 0,
                                                   dontAsk, u"Remember");
    QCOMPARE(answerer.Seen, 1);
    QCOMPARE(result, int(skribo::mrCancel));
    QVERIFY(!dontAsk);
  }

  void buttonRowInStandardOrder() {
    using namespace skribo;
    TMessageForm form(nullptr, u"All of them", TMsgDlgType::mtCustom,
                      mbIgnore | mbRetry | mbAbort | mbCancel | mbOK | mbNo | mbYes);
    QStringList names, captions;
    QList<int> results;
    int lastX = -1;
    for (const auto& [button, result] : form.Buttons()) {
      names << button->objectName();
      captions << button->text();
      results << result;
      QVERIFY(button->x() > lastX);
      lastX = button->x();
    }
    QCOMPARE(names, QStringList({"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore"}));
    QCOMPARE(captions, QStringList({"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore"}));
    QCOMPARE(results, QList<int>({6, 7, 1, 2, 3, 4, 5}));
    QVERIFY(form.findChild<QLabel*>(QStringLiteral("Image")) == nullptr);  // custom: no icon
    QCOMPARE(form.ButtonFor(mrOk)->isDefault(), true);
  }

  void prepareSetsCaptionAndDefault_data() {
    QTest::addColumn<TMsgDlgType>("type");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("defaultResult");
    QTest::addColumn<QString>("defaultButton");  // empty: none
    QTest::newRow("warning") << TMsgDlgType::mtWarning << ""
                             << "Warning" << int(skribo::mrNo) << "No";
    QTest::newRow("error") << TMsgDlgType::mtError << ""
                           << "Error" << int(skribo::mrYes) << "Yes";
    QTest::newRow("information") << TMsgDlgType::mtInformation << ""
                                 << "Information" << int(skribo::mrOk) << "OK";
    QTest::newRow("confirmation") << TMsgDlgType::mtConfirmation << ""
                                  << "Confirm" << int(skribo::mrIgnore) << "";
    QTest::newRow("custom") << TMsgDlgType::mtCustom << ""
                            << "Velmora Skribo" << int(skribo::mrNone) << "";
    QTest::newRow("given caption") << TMsgDlgType::mtWarning << "Mine"
                                   << "Mine" << int(skribo::mrOk) << "OK";
  }
  void prepareSetsCaptionAndDefault() {
    QFETCH(TMsgDlgType, type);
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    QFETCH(int, defaultResult);
    QFETCH(QString, defaultButton);
    TMessageForm form(nullptr, u"Message", type, skribo::mbYes | skribo::mbNo | skribo::mbOK);
    skribo::PrepareMessageDlg(form, caption.toStdU16String(), 42, defaultResult);
    QCOMPARE(form.windowTitle(), expected);
    QCOMPARE(form.HelpContext(), 42);
    QStringList defaults;
    for (const auto& [button, result] : form.Buttons())
      if (button->isDefault()) defaults << button->objectName();
    QCOMPARE(defaults, defaultButton.isEmpty() ? QStringList() : QStringList{defaultButton});
    if (!defaultButton.isEmpty()) QCOMPARE(form.focusWidget()->objectName(), defaultButton);
  }

  void messageBoxAnswersItsDefault() {
    QString title;
    TDialogAnswerer answerer([&](TMessageForm& d) {
      title = d.windowTitle();
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QCOMPARE(skribo::ShowMessageDlg(Host.get(), u"Velmora Skribo", u"Not a log.",
                                    TMsgDlgType::mtWarning, skribo::mbOK),
             int(skribo::mrOk));
    QCOMPARE(title, QStringLiteral("Velmora Skribo"));
  }
};

QTEST_MAIN(TControlsTest)
#include "ControlsTest.moc"
