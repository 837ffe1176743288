// The window program as a whole: its entry point, and the Qt window against
// the in-memory window that the other subsystems' tests use.
#include <random>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include "model/memory_window.h"
#include "support/test_program.h"
#include "ui_test_support.h"

namespace vantel::test {
namespace {

QString program_path()
{
    return QString::fromStdString(built_app_dir()) + "vantel_calculator";
}

TEST(Program, refuses_to_start_without_a_display)
{
    ensure_application();
    if (!QFileInfo::exists(program_path())) GTEST_SKIP() << "vantel_calculator is not built";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.start(program_path(), {});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_NE(process.exitCode(), 0);
    const QString said = QString::fromUtf8(process.readAllStandardError()).trimmed();
    EXPECT_FALSE(said.isEmpty());
    EXPECT_FALSE(said.contains('\n')) << said.toStdString();
    EXPECT_TRUE(said.contains("display")) << said.toStdString();
}

TEST(Program, opens_its_window_and_keeps_running_offscreen)
{
    ensure_application();
    if (!QFileInfo::exists(program_path())) GTEST_SKIP() << "vantel_calculator is not built";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(program_path(), {});
    ASSERT_TRUE(process.waitForStarted(10000));
    EXPECT_FALSE(process.waitForFinished(1500)) << "the program ended by itself: "
                                                << process.readAllStandardError().toStdString();
    process.kill();
    process.waitForFinished(5000);
}

using Same_as_memory_window = Ui_test;

// Random sequences of memo operations give the same lines and texts in the
// Qt window as in Memory_window, whose semantics the other subsystems test with.
TEST_F(Same_as_memory_window, memo_operations)
{
    Memory_window memory;
    std::mt19937 random(20240607);
    const std::vector<std::string> pieces = {"", "a", "10", "b\tc", " x ", "METHOD=5"};
    const Control memos[] = {Control::Memo3, Control::Memo4, Control::Memo_Result, Control::Memo5};
    for (int step = 0; step < 400; ++step) {
        const Control memo = memos[random() % 4];
        const auto piece = [&] { return pieces[random() % pieces.size()]; };
        switch (random() % 4) {
        case 0: {
            std::vector<std::string> lines(random() % 4);
            for (auto& line : lines) line = piece();
            window.set_lines(memo, lines);
            memory.set_lines(memo, lines);
            break;
        }
        case 1: {
            std::string text;
            const char* breaks[] = {"\r\n", "\n", "\r"};
            for (int n = random() % 4; n > 0; --n) text += piece() + breaks[random() % 3];
            if (random() % 2) text += piece();
            window.set_text(memo, text);
            memory.set_text(memo, text);
            break;
        }
        default: {
            const std::string line = piece();
            window.add_line(memo, line);
            memory.add_line(memo, line);
            break;
        }
        }
        ASSERT_EQ(window.lines(memo), memory.lines(memo)) << "step " << step;
        ASSERT_EQ(window.text(memo), memory.text(memo)) << "step " << step;
    }
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (is_memo(control)) continue;
        EXPECT_EQ(window.text(control), Memory_window().text(control)) << control_name(control);
    }
}

}  // namespace
}  // namespace vantel::test
