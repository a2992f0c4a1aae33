#include "Alert.h"

#include "Printers.h"
#include "TestApplication.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using platform::Alert;

namespace {

class AlertTest : public ::testing::Test {
protected:
    void SetUp() override { testApplication(); }
    void TearDown() override { Alert::setResponder(nullptr); }
};

QAbstractButton* buttonTitled(QMessageBox* box, const QString& title) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == title) return b;
    return nullptr;
}

// Once the application-modal box is up, lets act look at it and answer it.
void whenModalBoxShows(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
}

}  // namespace

TEST_F(AlertTest, ButtonsAnswerFromOneThousandInTheOrderAdded) {
    for (const auto& [title, expected] : {std::pair<QString, int>{"Install and Restart", 1000},
                                          {"Later", 1001},
                                          {"Skip This Version", 1002}}) {
        Alert alert;
        alert.addButton("Install and Restart");
        alert.addButton("Later");
        alert.addButton("Skip This Version");
        whenModalBoxShows([title = title](QMessageBox* box) { buttonTitled(box, title)->click(); });
        EXPECT_EQ(alert.runModal(), expected) << title.toStdString();
    }
}

TEST_F(AlertTest, ReturnTakesTheFirstButtonEscapeTakesCancelOrTheOnlyOk) {
    Alert alert;
    alert.addButton("Remove");
    alert.addButton("Cancel");
    whenModalBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(alert.runModal(), Alert::kSecondButton);
    whenModalBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_EQ(alert.runModal(), Alert::kFirstButton);

    Alert failed;  // no button added
    whenModalBoxShows([](QMessageBox* box) {
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons().first()->text(), "OK");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(failed.runModal(), Alert::kFirstButton);
}

TEST_F(AlertTest, TextsStayPlainAndTheAccessorySitsAboveTheButtonsOutlivingTheBox) {
    Alert alert;
    alert.setMessageText("<b>Playlist</b> & <i>friends</i>");
    alert.setInformativeText("Notes:\n<a href='x'>link</a>");
    auto* field = new QLineEdit("Old name");
    alert.setAccessoryView(field);
    whenModalBoxShows([field](QMessageBox* box) {
        int texts = 0;
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().contains("Playlist") && !label->text().contains("link")) continue;
            ++texts;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        }
        EXPECT_EQ(texts, 2);
        auto* buttons = box->findChild<QDialogButtonBox*>();
        EXPECT_TRUE(field->isVisible());
        EXPECT_LT(field->mapTo(box, QPoint()).y(), buttons->mapTo(box, QPoint()).y());
        field->setText("New name");
        buttons->buttons().first()->click();
    });
    alert.runModal();
    ASSERT_EQ(alert.accessoryView(), field);
    EXPECT_EQ(field->text(), "New name");
}

TEST_F(AlertTest, TheInitialFocusFieldTakesTheTypingAndReturnStillTakesTheFirstButton) {
    Alert alert;
    alert.addButton("OK");
    alert.addButton("Cancel");
    auto* accessory = new QWidget;
    auto* left = new QLineEdit("%title%", accessory);
    auto* right = new QLineEdit("%length%", accessory);
    right->move(0, 30);
    alert.setAccessoryView(accessory);
    alert.setInitialFocus(left);
    whenModalBoxShows([left](QMessageBox* box) {
        EXPECT_EQ(box->focusWidget(), left);
        // Where the keys go; the old text is selected, so typing replaces it.
        QTest::keyClicks(box->focusWidget(), "%artist%");
        QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(alert.runModal(), Alert::kFirstButton);
    EXPECT_EQ(left->text(), "%artist%");
    EXPECT_EQ(right->text(), "%length%");

    // Without one, the first button has it, as before.
    alert.setInitialFocus(nullptr);
    whenModalBoxShows([](QMessageBox* box) {
        EXPECT_EQ(box->focusWidget(), buttonTitled(box, "OK"));
        buttonTitled(box, "OK")->click();
    });
    alert.runModal();
}

TEST_F(AlertTest, OnAVisibleWindowTheAnswerComesLaterWithTheAccessoryAlive) {
    QWidget window;
    window.show();
    std::optional<int> answer;
    QString typed;
    {
        Alert alert;  // gone long before the answer
        alert.addButton("Rename");
        alert.addButton("Cancel");
        auto* field = new QLineEdit;
        alert.setAccessoryView(field);
        alert.show(new QWidget(&window), [&, field](int a) {
            answer = a;
            typed = field->text();
        });
    }
    EXPECT_FALSE(answer.has_value());
    auto* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    box->findChild<QLineEdit*>()->setText("Road Trip");
    buttonTitled(box, "Rename")->click();
    EXPECT_EQ(answer, Alert::kFirstButton);
    EXPECT_EQ(typed, "Road Trip");

    // A window closed under an open alert answers nothing, and nothing crashes.
    auto doomed = std::make_unique<QWidget>();
    doomed->show();
    bool called = false;
    Alert().show(doomed.get(), [&](int) { called = true; });
    doomed.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

TEST_F(AlertTest, ResponderAnswersInsteadOfTheUserWithTheSameTiming) {
    QStringList seen;
    Alert::setResponder([&seen](const Alert& a) {
        seen << a.messageText() << a.buttons();
        if (auto* field = qobject_cast<QLineEdit*>(a.accessoryView())) field->setText("typed");
        return Alert::kThirdButton;
    });
    std::optional<int> answer;
    QString typed;
    const auto ask = [&](QWidget* anchor) {
        Alert alert;
        alert.setMessageText("Question");
        alert.addButton("A");
        auto* field = new QLineEdit;
        alert.setAccessoryView(field);
        alert.show(anchor, [&, field](int a) {
            answer = a;
            typed = field->text();
        });
    };

    ask(nullptr);  // no window: answered before show returns
    EXPECT_EQ(answer, Alert::kThirdButton);
    EXPECT_EQ(typed, "typed");
    EXPECT_EQ(seen, QStringList({"Question", "A"}));

    QWidget window;
    window.show();
    answer.reset();
    typed.clear();
    ask(&window);  // on a window: answered at a later turn
    EXPECT_FALSE(answer.has_value());
    QCoreApplication::processEvents();
    EXPECT_EQ(answer, Alert::kThirdButton);
    EXPECT_EQ(typed, "typed");
}
