#include "pick_dialog.h"

#include <vector>

#include "trace.h"
#include "window_calls.h"

namespace trellane {

namespace {

constexpr wchar_t kPickTitle[] = L"除外するウィンドウ";
constexpr wchar_t kPickQuestion[] = L"このウィンドウを除外リストに加えます。どちらの名前で除外しますか？";
constexpr wchar_t kTitleLabel[] = L"タイトル: ";
constexpr wchar_t kClassLabel[] = L"クラス: ";
constexpr wchar_t kProgramLabel[] = L"プログラム: ";
constexpr wchar_t kUnknownProgram[] = L"（調べられません）";

enum ControlId : WORD { kIdQuestion = 100, kIdTitle, kIdClass, kIdProgram, kIdProgramButton, kIdClassButton };

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

// A dialog template in memory, as the resource compiler would lay it out: the program has no
// dialog resources, and the texts that vary are set once the dialog exists.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title, WORD controls) {
        Dword(style);
        Dword(0);
        FWords.push_back(controls);
        for (const short value : {short(0), short(0), cx, cy})
            FWords.push_back(static_cast<WORD>(value));
        FWords.push_back(0); // no menu
        FWords.push_back(0); // the standard dialog class
        Text(title);
        FWords.push_back(9); // DS_SETFONT: point size, then the face
        Text(L"MS Shell Dlg");
    }

    void Control(WORD atom, WORD id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text) {
        while (FWords.size() % 2)
            FWords.push_back(0); // every item starts on a DWORD
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (const short value : {x, y, cx, cy})
            FWords.push_back(static_cast<WORD>(value));
        FWords.push_back(id);
        FWords.push_back(0xFFFF);
        FWords.push_back(atom);
        Text(text);
        FWords.push_back(0); // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

private:
    void Dword(DWORD value) {
        FWords.push_back(LOWORD(value));
        FWords.push_back(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text)
            FWords.push_back(static_cast<WORD>(*text));
        FWords.push_back(0);
    }

    std::vector<WORD> FWords;
};

} // namespace

PickedWindow DescribePicked(HWND window) {
    PickedWindow picked;
    // Unlike GetWindowText, this never waits for the window's program.
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    picked.title = text;
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    picked.className = className;
    picked.program = ProgramOf(window);
    return picked;
}

PickChoice PickDialog::Ask(HWND owner) {
    constexpr DWORD kStyle =
        DS_SETFONT | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS;
    DialogTemplate layout(kStyle, 280, 96, kPickTitle, 7);
    layout.Control(kStaticAtom, kIdQuestion, SS_LEFT | SS_NOPREFIX, 7, 7, 266, 10, kPickQuestion);
    layout.Control(kStaticAtom, kIdTitle, kLabel, 7, 23, 266, 10, L"");
    layout.Control(kStaticAtom, kIdClass, kLabel, 7, 36, 266, 10, L"");
    layout.Control(kStaticAtom, kIdProgram, kLabel, 7, 49, 266, 10, L"");
    layout.Control(kButtonAtom, kIdProgramButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 72, 90, 16,
                   L"プログラムを除外");
    layout.Control(kButtonAtom, kIdClassButton, BS_PUSHBUTTON | WS_TABSTOP, 103, 72, 90, 16, L"クラスを除外");
    layout.Control(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 199, 72, 74, 16, L"キャンセル");
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, DialogProc,
                                                   reinterpret_cast<LPARAM>(this));
    if (result == -1) LogFailure(L"DialogBoxIndirectParamW", kPickTitle);
    if (result == kIdProgramButton) return PickChoice::Program;
    if (result == kIdClassButton) return PickChoice::Class;
    return PickChoice::Cancel;
}

INT_PTR CALLBACK PickDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_INITDIALOG:
        reinterpret_cast<PickDialog*>(lParam)->OnInit(dialog);
        return TRUE;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == kIdProgramButton || id == kIdClassButton || id == IDCANCEL) EndDialog(dialog, id);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void PickDialog::OnInit(HWND dialog) {
    SetDlgItemTextW(dialog, kIdTitle, (kTitleLabel + FPicked.title).c_str());
    SetDlgItemTextW(dialog, kIdClass, (kClassLabel + FPicked.className).c_str());
    const bool known = !FPicked.program.empty();
    SetDlgItemTextW(dialog, kIdProgram,
                    (kProgramLabel + (known ? FPicked.program : kUnknownProgram)).c_str());
    if (!known) {
        EnableWindow(GetDlgItem(dialog, kIdProgramButton), FALSE);
        SendMessageW(dialog, DM_SETDEFID, kIdClassButton, 0);
    }
    // The click that picked the window went to another program: the question must not hide behind it.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(dialog);
}

} // namespace trellane
