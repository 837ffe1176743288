#include "ui/main_window.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/initial_texts.h"
#include "ui/chart_tab.h"
#include "ui/file_filter.h"
#include "ui/memo_text.h"
#include "ui/tabs.h"

namespace vantel {

using ui::to_qstring;
using ui::to_utf8;

namespace {

// Client area of the window's 939 x 554 outer size; the window
// manager adds the frame around it.
constexpr int Client_width = 931;
constexpr int Client_height = 523;
constexpr int Window_left = 430;
constexpr int Window_top = 72;
constexpr int Timer1_interval_ms = 4000;
constexpr int Close_retry_ms = 20;

constexpr Control Method_buttons[6] = {Control::RadioButton1, Control::RadioButton2,
                                       Control::RadioButton3, Control::RadioButton4,
                                       Control::RadioButton5, Control::RadioButton6};

QWidget* add_page(QTabWidget* pages, const char* name, const char* caption)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, QString::fromLatin1(caption));
    return page;
}

}  // namespace

Main_window::Main_window()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(to_qstring(Window_caption));
    setFont(ui::default_font());
    resize(Client_width, Client_height);
    move(Window_left, Window_top);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pages_);

    QWidget* vantel_page = add_page(pages_, "TabSheet1", "VantEL");
    QWidget* manual_page = add_page(pages_, "TabSheet2", "Manual");
    QWidget* about_page = add_page(pages_, "TabSheet3", "About");
    QWidget* init_page = add_page(pages_, "TabSheet4", "Init");

    methods_ = new QButtonGroup(this);
    methods_->setExclusive(true);
    ui::Builder builder(controls_);
    ui::build_vantel_tab(builder, vantel_page, methods_);
    ui::build_manual_tab(builder, manual_page);
    ui::build_about_tab(builder, about_page);
    ui::build_init_tab(builder, init_page);
    chart_ = new ui::Chart_tab;
    chart_->setObjectName(QStringLiteral("TabSheet5"));
    pages_->addTab(chart_, QStringLiteral("Chart"));
    pages_->setCurrentIndex(0);
    // Every change of the result list, by a run, a batch or the user, redraws its chart.
    auto* results = qobject_cast<QPlainTextEdit*>(widget(Control::Memo_Result));
    connect(results, &QPlainTextEdit::textChanged, chart_,
            [this, results] { chart_->show_results(ui::memo_lines(results)); });

    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(Timer1_interval_ms);
    timer_.setSingleShot(false);  // Timer1Timer switches it off at its tick

    close_retry_.setInterval(Close_retry_ms);
    connect(&close_retry_, &QTimer::timeout, this, &Main_window::close_if_pending);
}

void Main_window::attach(Session& session)
{
    session_ = &session;
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        if (auto* button = qobject_cast<QPushButton*>(widget(control)))
            connect(button, &QPushButton::clicked, this, [this, control] { on_button(control); });
    }
    connect(&timer_, &QTimer::timeout, this, [this] {
        // Timer1 ticks like a click on its control: the session runs its handler.
        run_action([this] { session_->trigger(Control::Timer1); });
    });
}

void Main_window::on_button(Control button)
{
    if (!session_) return;
    session_->click(button);
    close_if_pending();
}

void Main_window::run_action(const std::function<void()>& action)
{
    if (!session_) return;
    session_->run_action(action);
    close_if_pending();
}

// ---- texts and lines ----------------------------------------------------

std::string Main_window::text(Control control) const
{
    const QWidget* w = widget(control);
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(w)) return ui::memo_text(memo);
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return to_utf8(edit->text());
    if (auto* label = qobject_cast<const QLabel*>(w)) return to_utf8(label->text());
    if (auto* button = qobject_cast<const QAbstractButton*>(w))
        return to_utf8(ui::caption_text(button->text()));
    return {};
}

void Main_window::set_text(Control control, std::string_view text)
{
    QWidget* w = widget(control);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        // Memo_user_data is display-only (nothing reads it back): its lines
        // are shown cut at ui::Shown_line_limit characters, so that a data
        // file with a line of megabytes cannot freeze the window.
        ui::set_memo_text(memo, control == Control::Memo_user_data ? ui::shown_text(text)
                                                                   : to_qstring(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(to_qstring(text));
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(to_qstring(text));
        ui::fit_label(label);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(ui::button_caption(to_qstring(text)));
        if (auto* push = qobject_cast<QPushButton*>(button)) ui::fit_caption(push);
    }
}

std::vector<std::string> Main_window::lines(Control control) const
{
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(widget(control))) return ui::memo_lines(memo);
    return {};
}

void Main_window::set_lines(Control control, const std::vector<std::string>& lines)
{
    auto* memo = qobject_cast<QPlainTextEdit*>(widget(control));
    if (!memo) {
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\r\n" : "") + lines[i];
        set_text(control, joined);
        return;
    }
    const bool cut = control == Control::Memo_user_data;  // display-only, see set_text
    std::vector<QString> shown;
    shown.reserve(lines.size());
    for (const auto& line : lines) shown.push_back(cut ? ui::shown_line(line) : to_qstring(line));
    ui::set_memo_lines(memo, shown);
}

void Main_window::add_line(Control control, std::string_view line)
{
    auto* memo = qobject_cast<QPlainTextEdit*>(widget(control));
    if (!memo) return;
    const bool cut = control == Control::Memo_user_data;  // display-only, see set_text
    ui::add_memo_line(memo, cut ? ui::shown_line(line) : to_qstring(line));
}

// ---- state of controls -----------------------------------------------------

bool Main_window::enabled(Control control) const
{
    if (control == Control::Timer1) return timer_enabled();
    const QWidget* w = widget(control);
    return w && !w->testAttribute(Qt::WA_ForceDisabled);
}

void Main_window::set_enabled(Control control, bool enabled)
{
    if (control == Control::Timer1) {
        set_timer_enabled(enabled);
        return;
    }
    if (QWidget* w = widget(control)) w->setEnabled(enabled);
}

int Main_window::selected_method() const
{
    for (int k = 1; k <= 6; ++k) {
        auto* radio = qobject_cast<const QRadioButton*>(widget(Method_buttons[k - 1]));
        if (radio && radio->isChecked()) return k;
    }
    return 0;
}

void Main_window::select_method(int k)
{
    if (k >= 1 && k <= 6) {
        qobject_cast<QRadioButton*>(widget(Method_buttons[k - 1]))->setChecked(true);
        return;
    }
    methods_->setExclusive(false);
    for (auto* button : methods_->buttons()) button->setChecked(false);
    methods_->setExclusive(true);
}

int Main_window::progress() const
{
    return qobject_cast<const QProgressBar*>(widget(Control::ProgressBar1))->value();
}

void Main_window::set_progress(int position)
{
    qobject_cast<QProgressBar*>(widget(Control::ProgressBar1))->setValue(std::clamp(position, 0, 100));
}

void Main_window::set_font_color(Control control, std::uint32_t rgb)
{
    QWidget* w = widget(control);
    if (!w) return;
    const QColor color = QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    w->setPalette(palette);
}

std::uint32_t Main_window::font_color(Control control) const
{
    const QWidget* w = widget(control);
    if (!w) return 0;
    return static_cast<std::uint32_t>(w->palette().color(QPalette::WindowText).rgb()) & 0xFFFFFFu;
}

bool Main_window::timer_enabled() const
{
    return timer_.isActive();
}

void Main_window::set_timer_enabled(bool enabled)
{
    if (!enabled)
        timer_.stop();
    else if (!timer_.isActive())  // enabling an enabled timer does not restart it
        timer_.start();
}

// ---- platform operations -------------------------------------------------

void Main_window::pump()
{
    QCoreApplication::processEvents();
}

void Main_window::sleep_ms(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void Main_window::message(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, to_qstring(Application_title), to_qstring(text),
                    QMessageBox::Ok, this);
    box.exec();
}

void Main_window::show_error(std::string_view text)
{
    QMessageBox box(QMessageBox::Critical, to_qstring(Application_title), to_qstring(text),
                    QMessageBox::Ok, this);
    box.exec();
}

std::optional<std::string> Main_window::choose_file(std::string_view title, std::string_view filter)
{
    // Like the classic dialog, it opens in the folder of the last file chosen
    // (the working folder the first time).
    const QString path = QFileDialog::getOpenFileName(this, to_qstring(title), last_dialog_folder_,
                                                      ui::qt_file_filter(filter));
    if (path.isEmpty()) return std::nullopt;
    last_dialog_folder_ = QFileInfo(path).absolutePath();
    return QFile::encodeName(path).toStdString();
}

void Main_window::copy_to_clipboard(Control control)
{
    QWidget* w = widget(control);
    QString copied;
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        memo->selectAll();
        copied = to_qstring(ui::memo_text(memo));  // lines joined by CR LF
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
        copied = edit->text();
    } else {
        copied = to_qstring(text(control));
    }
    QGuiApplication::clipboard()->setText(copied);
}

// ---- the Chart tab -----------------------------------------------------------

bool Main_window::learning_curve_wanted() const
{
    return chart_->curve_wanted();
}

void Main_window::show_learning_curve(const std::vector<double>& values)
{
    chart_->show_curve(values);
}

// ---- closing -----------------------------------------------------------------

void Main_window::close()
{
    QWidget::close();
}

void Main_window::closeEvent(QCloseEvent* event)
{
    if (session_ && session_->active_actions() > 0) {
        // The running action goes on to its end; the window closes after it.
        event->ignore();
        close_pending_ = true;
        close_retry_.start();
        return;
    }
    close_pending_ = false;
    close_retry_.stop();
    timer_.stop();
    closed_ = true;
    event->accept();
}

void Main_window::close_if_pending()
{
    if (!close_pending_) {
        close_retry_.stop();
        return;
    }
    if (session_ && session_->active_actions() > 0) return;
    close_pending_ = false;
    close_retry_.stop();
    QWidget::close();
}

}  // namespace vantel
