#include "app/forms_small.h"

#include "app/pictures.h"
#include "widgets/named_controls.h"
#include "widgets/window_helpers.h"

#include <algorithm>
#include <cmath>

#include <QDir>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------------------------
// About box

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("О программе..."));
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);

    auto* outer = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    outer->addWidget(panel);

    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ImProgramIcon"));
    icon->setPixmap(ProgramPicture(157, 85));
    icon->setFixedSize(157, 85);

    auto* title = new QLabel(panel);
    title->setObjectName(QStringLiteral("Label1"));
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPixelSize(13);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);

    auto* version = new QLabel(QStringLiteral("Версия 1.0.0"), panel);
    version->setObjectName(QStringLiteral("Label10"));
    QFont vf = version->font();
    vf.setBold(true);
    version->setFont(vf);
    version->setAlignment(Qt::AlignCenter);

    auto* head = new QHBoxLayout;
    head->addWidget(icon, 0, Qt::AlignTop | Qt::AlignLeft);
    auto* titles = new QVBoxLayout;
    titles->addWidget(title);
    titles->addWidget(version);
    head->addLayout(titles, 1);

    auto* rule = new QFrame(panel);
    rule->setObjectName(QStringLiteral("Bevel2"));
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    auto* memo = new QPlainTextEdit(panel);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setReadOnly(true);
    // Four lines as written, each with its trailing blank, in the program's font; the memo is made
    // wide enough that none of them wraps.
    memo->setFont(ProgramFont());
    memo->setPlainText(QStringLiteral(
        "Это приложение является инструментом для построения двумерных и трёхмерных \n"
        "графиков в декартовых, полярных, сферических координатах. Можно задавать \n"
        "функцию параметрическими уравнениями, табличными значениями и многое \n"
        "другое."));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int longest = 0;
    for (const QString& line : memo->toPlainText().split(QLatin1Char('\n')))
        longest = std::max(longest, memo->fontMetrics().horizontalAdvance(line));
    const int margins = 2 * static_cast<int>(std::ceil(memo->document()->documentMargin())) +
                        2 * memo->frameWidth() + memo->cursorWidth() + 2;
    memo->setMinimumWidth(longest + margins);
    QPalette mp = memo->palette();
    mp.setColor(QPalette::Base, QColor(0xD3, 0xE0, 0xED)); // 0x00EDE0D3, red in the low byte
    memo->setPalette(mp);

    auto* inner = new QVBoxLayout(panel);
    inner->addLayout(head);
    inner->addWidget(rule);
    inner->addWidget(memo, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BBtnOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    outer->addWidget(ok, 0, Qt::AlignHCenter);

    FormCreate();
}

void TFormAbout::FormCreate() {
    // A fixed dialog border, 470 x 347 unless the description needs a wider box, centred on the
    // screen.
    setFixedSize(std::max(470, sizeHint().width()), 347);
    setWindowFlags(FixedDialogFlags());
    findChild<QLabel*>(QStringLiteral("Label1"))
        ->setText(QStringLiteral("«") + ProductName + QStringLiteral("»"));
    CentreOnScreen(this);
}

// ---------------------------------------------------------------------------------------------
// Splash window

TFormWindowBackDrop::TFormWindowBackDrop(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), TimerBackDrop(new QTimer(this)) {
    setObjectName(QStringLiteral("FormWindowBackDrop"));
    setFixedSize(408, 198);

    TimerBackDrop->setObjectName(QStringLiteral("TimerBackDrop"));
    TimerBackDrop->setInterval(500);
    connect(TimerBackDrop, &QTimer::timeout, TimerBackDrop, &QTimer::stop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
    layout->addWidget(panel);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ImBackDrop"));
    picture->setPixmap(ProgramPicture(157, 85));
    auto* name = new QLabel(panel);
    name->setObjectName(QStringLiteral("LbProductName"));
    QFont f = name->font();
    f.setPixelSize(28);
    f.setBold(true);
    name->setFont(f);
    name->setAlignment(Qt::AlignCenter);

    auto* inner = new QVBoxLayout(panel);
    inner->addWidget(picture, 0, Qt::AlignHCenter);
    inner->addWidget(name);

    FormCreate();
}

void TFormWindowBackDrop::FormCreate() {
    findChild<QLabel*>(QStringLiteral("LbProductName"))->setText(ProductName);
    CentreOnScreen(this);
}

// ---------------------------------------------------------------------------------------------
// Help window

TFormHelp::TFormHelp(const QString& programDir, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormHelp"));
    setWindowTitle(QStringLiteral("Помощь"));
    resize(610, 449);
    auto* layout = new QVBoxLayout(this);
    auto* browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("WebBrowserHelp"));
    browser->setOpenExternalLinks(false);
    browser->setSource(QUrl(QStringLiteral("qrc:/help/help_ru.html")));
    layout->addWidget(browser, 1);
    // Escape closes it as it closes every dialog; the button does the same for the mouse.
    QPushButton* close = NamedButton(this, "BBtnClose", QStringLiteral("Закрыть"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(ButtonRow({close}));
    // The application's help file: "help.chm" beside the program.
    HelpFileName = QDir(programDir).filePath(QStringLiteral("help.chm"));
}

void TFormHelp::ShowHelp() {
    if (!isVisible())
        CentreOver(this, parentWidget() ? parentWidget()->window() : nullptr);
    show();
    raise();
    activateWindow();
}
