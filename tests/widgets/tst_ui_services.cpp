#include "widgets/ui_services.h"

#include <QtTest>

class TstUiServices : public QObject {
    Q_OBJECT
private slots:
    void messageLineBreaksShowAsOneBreak_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Не найден файл справки!"
                               << "Не найден файл справки!";
        QTest::newRow("one break") << "Вы действительно хотите удалить график\n\rY(X) = x"
                                   << "Вы действительно хотите удалить график\nY(X) = x";
        QTest::newRow("two breaks") << "a\n\rb\n\rc"
                                    << "a\nb\nc";
        // Only the pair in this order is a break mark.
        QTest::newRow("reversed pair kept") << "a\r\nb"
                                            << "a\r\nb";
    }
    void messageLineBreaksShowAsOneBreak() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(ShownMessageText(text), shown);
    }

    void fileFiltersBecomeDialogFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("documents") << "Файлы Qel Kurvant (*.qel)|*.qel|Все файлы (*.*)|*.*"
                                   << "Файлы Qel Kurvant (*.qel);;Все файлы (*.*)";
        QTest::newRow("picture") << "Рисунок (*.bmp)|*.bmp"
                                 << "Рисунок (*.bmp)";
        QTest::newRow("pattern added") << "Текст|*.txt"
                                       << "Текст (*.txt)";
        QTest::newRow("dangling description ignored") << "Текст|*.txt|Ещё"
                                                      << "Текст (*.txt)";
    }
    void fileFiltersBecomeDialogFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, dialog);
        QCOMPARE(DialogFilter(filter), dialog);
    }
};

QTEST_APPLESS_MAIN(TstUiServices)
#include "tst_ui_services.moc"
