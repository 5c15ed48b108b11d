"""The three step pictures of the help document, drawn as simplified screens.

1. The game platform's library: right-click the game, "管理", "浏览本地文件".
2. The file manager showing the game folder: the address bar holds the path to copy.
3. The installer: the path pasted into the box, the "快速汉化" button pointed at.
"""

from mvg import Drawing

W, H = 800, 500
ACCENT = "#e8590c"      # callouts: arrows, rings and their labels
GAME_PATH = r"D:\Games\GameLibrary\common\Unturned"


def window_frame(d, x0, y0, x1, y1, title, bar="#2b3440", body="#f4f5f7", title_fill="white"):
    d.rect(x0 + 4, y0 + 6, x1 + 4, y1 + 6, "#00000030", radius=6)  # shadow
    d.rect(x0, y0, x1, y1, body, "#9aa3ad", 1, radius=6)
    d.rect(x0, y0, x1, y0 + 30, bar, radius=6)
    d.rect(x0, y0 + 20, x1, y0 + 30, bar)
    d.text(x0 + 12, y0 + 21, title, 14, title_fill)
    for i, colour in enumerate(["#ff5f57", "#febc2e", "#28c840"]):
        d.circle(x1 - 20 - 22 * i, y0 + 15, 6, colour)


def callout(d, x, y, text, size=18):
    width = int(sum(size if ord(c) > 0x7F else size * 0.56 for c in text)) + 24
    d.rect(x, y, x + width, y + size + 18, "#fff4e6", ACCENT, 2, radius=8)
    d.text(x + 12, y + size + 6, text, size, "#a23b00")


def cursor(d, x, y):
    d.polygon([(x, y), (x, y + 22), (x + 6, y + 17), (x + 10, y + 26), (x + 14, y + 24),
               (x + 10, y + 15), (x + 17, y + 15)], "white", "black", 1.5)


def step_library():
    d = Drawing(W, H, "#dfe3e8")
    window_frame(d, 20, 20, 780, 480, "游戏平台客户端 — 库", "#1b2230", "#222b38")
    d.rect(20, 50, 250, 480, "#1a212c")
    d.text(36, 78, "库 · 全部游戏", 15, "#c7d0dc")
    games = ["荒野求生 2", "星际农场", "Unturned", "城市建造者", "赛车传奇", "深海探险"]
    for i, name in enumerate(games):
        y = 98 + 36 * i
        if name == "Unturned":
            d.rect(26, y - 4, 244, y + 26, "#3d6fb6", radius=4)
        d.rect(36, y + 2, 54, y + 20, "#5a6b80", radius=3)
        d.text(64, y + 18, name, 15, "white" if name == "Unturned" else "#aeb8c6")
    d.text(290, 110, "Unturned", 34, "white")
    d.rect(290, 140, 420, 180, "#4caf50", radius=4)
    d.text(322, 167, "开始游戏", 17, "white")
    # The context menu opened on the game, with its "管理" sub-menu.
    menu_x, menu_y = 170, 190
    d.rect(menu_x, menu_y, menu_x + 190, menu_y + 150, "#f7f8fa", "#8a939e", 1, radius=3)
    for i, item in enumerate(["开始游戏", "添加到收藏夹", "管理", "属性…"]):
        y = menu_y + 10 + 34 * i
        if item == "管理":
            d.rect(menu_x + 4, y - 2, menu_x + 186, y + 28, "#d0e2fb", radius=2)
            d.text(menu_x + 166, y + 20, "›", 18, "#333")
        d.text(menu_x + 16, y + 20, item, 16, "#222")
    sub_x, sub_y = menu_x + 190, menu_y + 76
    d.rect(sub_x, sub_y, sub_x + 200, sub_y + 112, "#f7f8fa", "#8a939e", 1, radius=3)
    for i, item in enumerate(["添加桌面快捷方式", "浏览本地文件", "卸载"]):
        y = sub_y + 8 + 34 * i
        if item == "浏览本地文件":
            d.rect(sub_x + 4, y - 2, sub_x + 196, y + 28, "#ffd8a8", ACCENT, 2, radius=3)
        d.text(sub_x + 16, y + 20, item, 16, "#222")
    cursor(d, sub_x + 150, sub_y + 56)
    d.arrow(560, 420, sub_x + 205, sub_y + 60, ACCENT, 5)
    callout(d, 380, 420, "① 右键点击游戏 → 管理 → 浏览本地文件")
    return d.render()


def step_explorer():
    d = Drawing(W, H, "#dfe3e8")
    window_frame(d, 20, 20, 780, 480, "Unturned", "#e9edf2", "#ffffff", "#222")
    # Address bar with the whole path selected.
    d.rect(30, 60, 770, 96, "#ffffff", "#7a8794", 1, radius=3)
    d.rect(40, 66, 430, 90, "#0a64d8")
    d.text(46, 85, GAME_PATH, 16, "white")
    d.rect(30, 100, 200, 470, "#f3f5f8")
    for i, item in enumerate(["快速访问", "此电脑", "本地磁盘 (C:)", "本地磁盘 (D:)"]):
        d.text(46, 130 + 32 * i, item, 15, "#334")
    d.text(220, 124, "名称", 14, "#667")
    d.text(520, 124, "类型", 14, "#667")
    d.line(212, 132, 770, 132, "#d5dae0")
    rows = [("Bundles", "文件夹"), ("Extras", "文件夹"), ("Localization", "文件夹"),
            ("Maps", "文件夹"), ("Translations", "文件夹"), ("Unturned.exe", "应用程序")]
    for i, (name, kind) in enumerate(rows):
        y = 152 + 32 * i
        colour = "#f2c14e" if kind == "文件夹" else "#5b8def"
        d.rect(222, y - 14, 242, y + 2, colour, radius=2)
        d.text(252, y, name, 15, "#222")
        d.text(520, y, kind, 15, "#555")
    cursor(d, 300, 80)
    d.arrow(540, 350, 420, 100, ACCENT, 5)
    callout(d, 430, 350, "② 点击地址栏，按 Ctrl+C 复制路径")
    d.rect(36, 62, 434, 94, "none", ACCENT, 3, radius=4)
    callout(d, 240, 410, "路径的末尾应当是 Unturned", 17)
    return d.render()


def step_installer():
    d = Drawing(W, H, "#dfe3e8")
    window_frame(d, 110, 30, 690, 470, "汉化安装程序", "#16241c", "#1f3327")
    # A dark forest strip behind the controls, as in the installer's own window.
    for i in range(10):
        x = 116 + 56 * i
        d.polygon([(x, 250), (x + 28, 120 + (i * 37) % 60), (x + 56, 250)], "#2c4a36")
    d.text(140, 290, "请输入游戏目录：", 16, "#e6efe8")
    d.rect(140, 302, 660, 338, "white", "#88a090", 1, radius=3)
    d.text(150, 326, GAME_PATH, 15, "#111")
    d.rect(140, 360, 290, 404, "#3b7d4f", radius=5)
    d.text(176, 389, "一键汉化", 18, "white")
    d.rect(510, 360, 660, 404, "#3b7d4f", "#ffd43b", 3, radius=5)
    d.text(546, 389, "快速汉化", 18, "white")
    cursor(d, 600, 386)
    d.arrow(420, 440, 505, 392, ACCENT, 5)
    callout(d, 130, 426, "③ 按 Ctrl+V 粘贴，再点击“快速汉化”")
    return d.render()


PICTURES = [step_library, step_explorer, step_installer]
