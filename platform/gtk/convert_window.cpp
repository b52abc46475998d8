// convZeku's window with GTK 3: the dialog's controls in their groups and
// order, a 100 ms timer that reads the run's progress, the start checks'
// warnings as message boxes, and what a desktop converter adds (output
// folder, progress bar, cancel, a summary at the end).
#include "platform/gtk/convert_window.h"

#include <gtk/gtk.h>

#include <chrono>
#include <cstdio>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "converter/app/dialog_texts.h"
#include "converter/app/run_summary.h"
#include "converter/app/window_script.h"
#include "platform/api/text_codec.h"

namespace zeku {

const bool kConvertWindowBuilt = true;

namespace {

constexpr guint kTimerMs = 100;

// GTK marks the access key with "_" where the dialog's texts use "&".
std::string mnemonic(const char* sjis) {
    std::string out;
    for (const char c : sjisToUtf8(sjis)) {
        if (c == '&')
            out += '_';
        else if (c == '_')
            out += "__";
        else
            out += c;
    }
    return out;
}

struct Window {
    ConvertDialog dialog;
    GtkWidget* window = nullptr;
    GtkWidget* folderEntry = nullptr;
    GtkWidget* outEntry = nullptr;
    GtkWidget* start = nullptr;
    GtkWidget* cancel = nullptr;
    GtkWidget* about = nullptr;
    GtkWidget* progressLabel = nullptr;
    GtkWidget* progressBar = nullptr;
    guint timer = 0;
    std::string shownLine;
    std::chrono::steady_clock::time_point started;
    // The scripted run, when there is one.
    bool scripted = false;
    std::vector<WindowStep> steps;
    size_t nextStep = 0;
    // A picture waits for the next painted frame: only then are the
    // controls' new texts laid out and their new states styled.
    std::string pendingShot;
    bool shotRequested = false;
    gulong afterPaint = 0;
};

// What a scripted run shows, one line each, for whoever drives it.
void note(const Window& w, const std::string& line) {
    if (!w.scripted) return;
    std::printf("window: %s\n", line.c_str());
    std::fflush(stdout);
}

// A message box that leaves the main loop running: it closes itself on its
// response. A scripted run reads back what the box holds and closes it at
// once, so nothing waits for a click.
void showMessage(Window& w, GtkMessageType type, const std::string& title, const std::string& text,
                 const std::string& detail) {
    GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(w.window), GTK_DIALOG_DESTROY_WITH_PARENT,
                                            type, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), title.c_str());
    gtk_window_set_modal(GTK_WINDOW(box), TRUE);
    if (!detail.empty())
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s", detail.c_str());
    if (w.scripted) {
        gchar* shown = nullptr;
        g_object_get(box, "text", &shown, nullptr);
        note(w, std::string("message: ") + gtk_window_get_title(GTK_WINDOW(box)) + ": " +
                    (shown ? shown : "") + (detail.empty() ? "" : " | " + detail));
        g_free(shown);
        gtk_widget_destroy(box);
        return;
    }
    g_signal_connect_swapped(box, "response", G_CALLBACK(gtk_widget_destroy), box);
    gtk_widget_show(box);
}

void setFolderField(GtkWidget* entry, const std::string& folder) {
    gchar* shown = g_filename_display_name(folder.c_str());
    gtk_entry_set_text(GTK_ENTRY(entry), shown);
    g_free(shown);
}

void chooseGameFolder(Window& w, const std::string& folder) {
    if (!w.dialog.setGameFolder(folder)) {
        showMessage(w, GTK_MESSAGE_WARNING, "convZeku", "The folder's name is too long.", folder);
        return;
    }
    setFolderField(w.folderEntry, w.dialog.gameFolder());
    note(w, "folder: " + w.dialog.gameFolder());
}

void chooseOutput(Window& w, const std::string& folder) {
    if (!w.dialog.setOutputBase(folder)) {
        showMessage(w, GTK_MESSAGE_WARNING, "convZeku", "The folder's name is too long.", folder);
        return;
    }
    setFolderField(w.outEntry, w.dialog.outputBase());
    note(w, "out: " + w.dialog.outputBase());
}

// The folder chooser runs beside the main loop and answers through its
// response signal.
struct Chooser {
    Window* window;
    void (*choose)(Window&, const std::string&);
};

void onChooserResponse(GtkNativeDialog* native, gint response, gpointer data) {
    std::unique_ptr<Chooser> chooser(static_cast<Chooser*>(data));
    if (response == GTK_RESPONSE_ACCEPT) {
        gchar* folder = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(native));
        if (folder) chooser->choose(*chooser->window, folder);
        g_free(folder);
    }
    g_object_unref(native);
}

void openChooser(Window& w, const std::string& title, const std::string& current,
                 void (*choose)(Window&, const std::string&)) {
    GtkFileChooserNative* native =
        gtk_file_chooser_native_new(title.c_str(), GTK_WINDOW(w.window),
                                    GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, nullptr, nullptr);
    if (!current.empty()) gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(native), current.c_str());
    Chooser* chooser = new Chooser{&w, choose};
    g_signal_connect(native, "response", G_CALLBACK(onChooserResponse), chooser);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(native));
}

void onBrowse(GtkButton*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    openChooser(w, sjisToUtf8(kFolderChooserTitle), w.dialog.gameFolder(), chooseGameFolder);
}

void onBrowseOutput(GtkButton*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    openChooser(w, "Output folder", w.dialog.outputBase(), chooseOutput);
}

void onStart(GtkButton*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    DialogMessage message;
    switch (w.dialog.start(message)) {
        case StartOutcome::kNothing:
            note(w, "start: nothing");
            return;
        case StartOutcome::kRefused:
            showMessage(w, GTK_MESSAGE_WARNING, sjisToUtf8(message.caption),
                        sjisToUtf8(message.text), message.detail);
            return;
        case StartOutcome::kStarted:
            break;
    }
    w.started = std::chrono::steady_clock::now();
    gtk_widget_set_sensitive(w.start, FALSE);
    gtk_widget_set_sensitive(w.cancel, TRUE);
    note(w, "started");
}

void onCancel(GtkButton*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    w.dialog.cancel();
    gtk_widget_set_sensitive(w.cancel, FALSE);
    note(w, "cancel");
}

void onStereo(GtkToggleButton* button, gpointer data) {
    static_cast<Window*>(data)->dialog.setStereo(gtk_toggle_button_get_active(button) != FALSE);
}

void onBitrate(GtkComboBox* box, gpointer data) {
    static_cast<Window*>(data)->dialog.selectBitrate(gtk_combo_box_get_active(box));
}
void onRate(GtkComboBox* box, gpointer data) {
    static_cast<Window*>(data)->dialog.selectRate(gtk_combo_box_get_active(box));
}
void onResolution(GtkComboBox* box, gpointer data) {
    static_cast<Window*>(data)->dialog.selectResolution(gtk_combo_box_get_active(box));
}
void onQuality(GtkComboBox* box, gpointer data) {
    static_cast<Window*>(data)->dialog.selectQuality(gtk_combo_box_get_active(box));
}

void onAbout(GtkMenuItem*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    showMessage(w, GTK_MESSAGE_INFO, sjisToUtf8(kAboutTitle), kAboutText, "");
}

// The window as a picture, written through a temporary name.
void writeShot(Window& w, const std::string& path) {
    const int width = gtk_widget_get_allocated_width(w.window);
    const int height = gtk_widget_get_allocated_height(w.window);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    gtk_widget_draw(w.window, cr);
    cairo_destroy(cr);
    GdkPixbuf* picture = gdk_pixbuf_get_from_surface(surface, 0, 0, width, height);
    cairo_surface_destroy(surface);
    const std::string temporary = path + ".tmp";
    GError* error = nullptr;
    const bool saved = picture &&
                       gdk_pixbuf_save(picture, temporary.c_str(), "png", &error, nullptr) &&
                       std::rename(temporary.c_str(), path.c_str()) == 0;
    if (picture) g_object_unref(picture);
    note(w, saved ? "shot: " + path
                  : "shot failed: " + path + (error ? std::string(": ") + error->message : ""));
    if (error) g_error_free(error);
}

void onAfterPaint(GdkFrameClock* clock, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    g_signal_handler_disconnect(clock, w.afterPaint);
    w.afterPaint = 0;
    writeShot(w, w.pendingShot);
    w.pendingShot.clear();
}

// Runs the scripted steps that can go now; false once the window is gone.
bool runSteps(Window& w) {
    while (w.nextStep < w.steps.size()) {
        const WindowStep& step = w.steps[w.nextStep];
        switch (step.kind) {
            case WindowStepKind::kFolder:
                chooseGameFolder(w, step.argument);
                break;
            case WindowStepKind::kOut:
                chooseOutput(w, step.argument);
                break;
            case WindowStepKind::kStart:
                gtk_button_clicked(GTK_BUTTON(w.start));
                break;
            case WindowStepKind::kCancel: {
                // Once an entry is done, so the run has really begun.
                const PackProgress* progress = w.dialog.progress();
                if (progress && progress->entriesDone.load() < 1) return true;
                if (progress) gtk_button_clicked(GTK_BUTTON(w.cancel));
                break;
            }
            case WindowStepKind::kWait:
                if (!w.dialog.startEnabled()) return true;
                break;
            case WindowStepKind::kAbout:
                gtk_menu_item_activate(GTK_MENU_ITEM(w.about));
                break;
            case WindowStepKind::kShot:
                if (!w.shotRequested) {
                    w.shotRequested = true;
                    w.pendingShot = step.argument;
                    w.afterPaint = g_signal_connect(gtk_widget_get_frame_clock(w.window),
                                                    "after-paint", G_CALLBACK(onAfterPaint), &w);
                    gtk_widget_queue_draw(w.window);
                }
                if (!w.pendingShot.empty()) return true;
                w.shotRequested = false;
                break;
            case WindowStepKind::kQuit:
                ++w.nextStep;
                w.timer = 0;  // removed by returning G_SOURCE_REMOVE
                gtk_widget_destroy(w.window);
                return false;
        }
        ++w.nextStep;
    }
    return true;
}

gboolean onTimer(gpointer data) {
    Window& w = *static_cast<Window*>(data);
    std::string line;
    PackWriterReport report;
    const bool running = !w.dialog.startEnabled();
    const bool ended = w.dialog.tick(line, report);
    if ((running || ended) && line != w.shownLine) {
        w.shownLine = line;
        gtk_label_set_text(GTK_LABEL(w.progressLabel), sjisToUtf8(line).c_str());
        note(w, "progress: " + sjisToUtf8(line));
    }
    if (const PackProgress* progress = w.dialog.progress()) {
        const int count = progress->entryCount.load();
        const int done = progress->entriesDone.load();
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(w.progressBar),
                                      count > 0 ? static_cast<double>(done) / count : 0.0);
    }
    if (ended) {
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(w.progressBar), 0.0);
        gtk_widget_set_sensitive(w.start, TRUE);
        gtk_widget_set_sensitive(w.cancel, FALSE);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - w.started).count();
        showMessage(w, report.ok ? GTK_MESSAGE_INFO : GTK_MESSAGE_WARNING, "convZeku",
                    report.ok ? "The package is written." : "No package was written.",
                    runSummary(report, seconds));
        note(w, report.ok ? "finished: " + report.packagePath : "failed: " + report.error);
        note(w, std::string("progress line: \"") + gtk_label_get_text(GTK_LABEL(w.progressLabel)) +
                    "\", start " + (gtk_widget_get_sensitive(w.start) ? "enabled" : "disabled"));
    }
    if (!runSteps(w)) return G_SOURCE_REMOVE;
    return G_SOURCE_CONTINUE;
}

void onDestroy(GtkWidget*, gpointer data) {
    Window& w = *static_cast<Window*>(data);
    if (w.timer != 0) g_source_remove(w.timer);
    w.timer = 0;
    w.window = nullptr;
    gtk_main_quit();
}

GtkWidget* label(const std::string& text) {
    GtkWidget* widget = gtk_label_new(text.c_str());
    gtk_widget_set_halign(widget, GTK_ALIGN_START);
    return widget;
}

template <size_t N>
GtkWidget* list(const char* const (&items)[N], int active, bool sjis) {
    GtkWidget* box = gtk_combo_box_text_new();
    for (const char* item : items)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(box),
                                       sjis ? sjisToUtf8(item).c_str() : item);
    gtk_combo_box_set_active(GTK_COMBO_BOX(box), active);
    return box;
}

GtkWidget* grid() {
    GtkWidget* widget = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(widget), 6);
    gtk_grid_set_column_spacing(GTK_GRID(widget), 6);
    return widget;
}

void build(Window& w) {
    ConvertDialog& d = w.dialog;
    w.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(w.window), kDialogTitle);
    gtk_window_set_resizable(GTK_WINDOW(w.window), FALSE);
    g_signal_connect(w.window, "destroy", G_CALLBACK(onDestroy), &w);

    GtkWidget* outer = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(w.window), outer);

    // The dialog's system-menu item, in the window's menu.
    GtkWidget* bar = gtk_menu_bar_new();
    GtkWidget* top = gtk_menu_item_new_with_label("convZeku");
    GtkWidget* menu = gtk_menu_new();
    w.about = gtk_menu_item_new_with_mnemonic(mnemonic(kAboutMenuItem).c_str());
    g_signal_connect(w.about, "activate", G_CALLBACK(onAbout), &w);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), w.about);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(bar), top);
    gtk_box_pack_start(GTK_BOX(outer), bar, FALSE, FALSE, 0);

    GtkWidget* body = grid();
    gtk_container_set_border_width(GTK_CONTAINER(body), 10);
    gtk_box_pack_start(GTK_BOX(outer), body, TRUE, TRUE, 0);
    int row = 0;

    w.folderEntry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(w.folderEntry), FALSE);
    gtk_entry_set_width_chars(GTK_ENTRY(w.folderEntry), 40);
    gtk_widget_set_hexpand(w.folderEntry, TRUE);
    GtkWidget* browse = gtk_button_new_with_mnemonic(mnemonic(kBrowseLabel).c_str());
    g_signal_connect(browse, "clicked", G_CALLBACK(onBrowse), &w);
    gtk_grid_attach(GTK_GRID(body), w.folderEntry, 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(body), browse, 1, row++, 1, 1);

    GtkWidget* sound = gtk_frame_new(sjisToUtf8(kSoundGroupLabel).c_str());
    GtkWidget* soundGrid = grid();
    gtk_container_set_border_width(GTK_CONTAINER(soundGrid), 6);
    GtkWidget* bitrate = list(kBitrateItems, d.bitrateIndex(), false);
    GtkWidget* rate = list(kRateItems, d.rateIndex(), false);
    GtkWidget* stereo = gtk_check_button_new_with_label(sjisToUtf8(kStereoLabel).c_str());
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(stereo), d.stereo());
    g_signal_connect(bitrate, "changed", G_CALLBACK(onBitrate), &w);
    g_signal_connect(rate, "changed", G_CALLBACK(onRate), &w);
    g_signal_connect(stereo, "toggled", G_CALLBACK(onStereo), &w);
    gtk_grid_attach(GTK_GRID(soundGrid), label(kBitrateLabel), 0, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(soundGrid), bitrate, 1, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(soundGrid), label(kRateLabel), 2, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(soundGrid), rate, 3, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(soundGrid), stereo, 4, 0, 1, 1);
    gtk_container_add(GTK_CONTAINER(sound), soundGrid);
    gtk_grid_attach(GTK_GRID(body), sound, 0, row++, 2, 1);

    GtkWidget* picture = grid();
    GtkWidget* resolution = list(kResolutionItems, d.resolutionIndex(), false);
    GtkWidget* quality = list(kQualityItems, d.qualityIndex(), true);
    g_signal_connect(resolution, "changed", G_CALLBACK(onResolution), &w);
    g_signal_connect(quality, "changed", G_CALLBACK(onQuality), &w);
    gtk_grid_attach(GTK_GRID(picture), label(sjisToUtf8(kResolutionLabel)), 0, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(picture), resolution, 1, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(picture), label(sjisToUtf8(kQualityLabel)), 2, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(picture), quality, 3, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(body), picture, 0, row++, 2, 1);

    // Beyond the dialog: where the package goes.
    GtkWidget* output = grid();
    w.outEntry = gtk_entry_new();
    gtk_editable_set_editable(GTK_EDITABLE(w.outEntry), FALSE);
    gtk_widget_set_hexpand(w.outEntry, TRUE);
    setFolderField(w.outEntry, d.outputBase());
    GtkWidget* outBrowse = gtk_button_new_with_mnemonic("_Output...");
    g_signal_connect(outBrowse, "clicked", G_CALLBACK(onBrowseOutput), &w);
    gtk_grid_attach(GTK_GRID(output), label("Output folder"), 0, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(output), w.outEntry, 1, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(output), outBrowse, 2, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(body), output, 0, row++, 2, 1);

    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    w.start = gtk_button_new_with_mnemonic(mnemonic(kStartLabel).c_str());
    w.cancel = gtk_button_new_with_mnemonic("_Cancel");
    gtk_widget_set_sensitive(w.cancel, FALSE);
    g_signal_connect(w.start, "clicked", G_CALLBACK(onStart), &w);
    g_signal_connect(w.cancel, "clicked", G_CALLBACK(onCancel), &w);
    gtk_box_pack_start(GTK_BOX(buttons), w.start, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), w.cancel, FALSE, FALSE, 0);
    gtk_grid_attach(GTK_GRID(body), buttons, 0, row++, 2, 1);

    w.progressLabel = label("");
    gtk_label_set_ellipsize(GTK_LABEL(w.progressLabel), PANGO_ELLIPSIZE_MIDDLE);
    w.progressBar = gtk_progress_bar_new();
    gtk_grid_attach(GTK_GRID(body), w.progressLabel, 0, row++, 2, 1);
    gtk_grid_attach(GTK_GRID(body), w.progressBar, 0, row++, 2, 1);
    gtk_grid_attach(GTK_GRID(body), label(sjisToUtf8(d.encoderLine())), 0, row++, 2, 1);

    if (!d.gameFolder().empty()) setFolderField(w.folderEntry, d.gameFolder());
}

}  // namespace

int runConvertWindow(const ConvertOptions& options, const std::string& currentDirectory,
                     const std::string& script) {
    auto w = std::make_unique<Window>();
    std::string error;
    if (!script.empty() && !parseWindowScript(script, w->steps, error)) {
        std::fprintf(stderr, "convZeku: window script: %s\n", error.c_str());
        return 2;
    }
    w->scripted = !script.empty();
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "convZeku: cannot open the display for the window\n");
        return 2;
    }
    // A scripted run's pictures show each control's state at once, not
    // halfway through the theme's transition to it.
    if (w->scripted)
        g_object_set(gtk_settings_get_default(), "gtk-enable-animations", FALSE, nullptr);
    w->dialog.open(currentDirectory, options.encoderPath);
    if (!applyConvertOptions(options, w->dialog, error)) {
        std::fprintf(stderr, "convZeku: %s\n", error.c_str());
        return 2;
    }
    if (options.jobs == 0) w->dialog.setJobs(static_cast<int>(std::thread::hardware_concurrency()));
    build(*w);
    gtk_widget_show_all(w->window);
    w->timer = g_timeout_add(kTimerMs, onTimer, w.get());
    note(*w, std::string("opened: ") + gtk_window_get_title(GTK_WINDOW(w->window)));
    gtk_main();
    // A run still going is stopped and waited for when the dialog goes.
    return 0;
}

}  // namespace zeku
