#!/usr/bin/env python3
"""Writes the sample translation trees under payload/src/ and their manifests.

    make_sample_tree.py [--out FOLDER]     (default: payload/src of this repository)

For each of the five archives it writes FOLDER/<Archive>/ (the files, with their
modification times set) and FOLDER/<Archive>.entries, the manifest that fixes the entry
order and the write, access and creation times for tools/zippack.py. Everything is derived
from fixed seeds, so a second run writes the same bytes. The figures (entries, folders,
files, bytes per archive and per top folder of Bundles) are checked before anything is
written.
"""

import argparse
import datetime
import os
import random
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sample_assets as A  # noqa: E402
from sample_text import DatFile, distribute, filler, utf8_len, fit_chars  # noqa: E402
from zippack import windows_order  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

TIME_FIRST = datetime.datetime(2017, 7, 8, 23, 10, 0)
TIME_LAST = datetime.datetime(2020, 8, 30, 12, 44, 2)

# Bundles: top folder -> (folder entries, files, file bytes, empty files), in archive order.
BUNDLES = {
    "NPCs": (239, 199, 35979, 2),
    "Objects": (1148, 1100, 57215, 4),
    "Resources": (40, 39, 862, 0),
    "Sources": (3, 1, 468, 0),
    "Trees": (46, 45, 982, 0),
    "Vehicles": (190, 189, 4171, 0),
    "Animals": (8, 7, 63, 0),
    "Items": (1056, 1021, 100324, 4),
    "Mythics": (38, 37, 1246, 0),
}
# One asset whose name makes the longest entry name of the set, 82 bytes:
# "Objects/Large/Buildings/Military/Bunkers/Bunker_Door_Reinforced_Steel/Schinese.dat".
LONG_NAMES = {("Large", "Buildings", "Military", "Bunkers"): ("Bunker_Door_Reinforced_Steel", "加固钢制地堡门")}
LONGEST_NAME = 82
# Archive -> (folder entries, files, file bytes).
ARCHIVES = {
    "Translations": (0, 1, 21972),
    "Extras": (12, 7, 814),
    "Localization": (11, 139, 118004),
    "Maps": (11, 11, 2493),
    "Bundles": (2768, 2638, 201310),
}


def rng_for(*parts):
    return random.Random(":".join(parts))


def pick_eol(rng):
    return "\r\n" if rng.random() < 0.15 else "\n"


class Tree:
    """Folders and files of one archive; children are kept in insertion order."""

    def __init__(self):
        self.root = {}

    def add_file(self, path, data):
        node = self.root
        parts = path.split("/")
        for part in parts[:-1]:
            node = node.setdefault(part, {})
        assert parts[-1] not in node, path
        node[parts[-1]] = data

    def add_folder(self, path):
        node = self.root
        for part in path.split("/"):
            node = node.setdefault(part, {})

    def entries(self, top_order=None):
        """[(name, bytes or None)] with each folder before its contents, Windows order."""
        out = []

        def walk(node, prefix, order):
            for name in order:
                child = node[name]
                if isinstance(child, dict):
                    out.append((prefix + name + "/", None))
                    walk(child, prefix + name + "/", windows_order(child))
                else:
                    out.append((prefix + name, child))

        walk(self.root, "", top_order or windows_order(self.root))
        return out


def fitted(dat_files, total, minimum=8):
    """Renders DatFiles to sizes proportional to their natural sizes, summing to total."""
    sizes = distribute(total, [d.natural_size() for d in dat_files], minimum)
    return [d.render(n, random.Random(d.seed)) for d, n in zip(dat_files, sizes)]


# ---- Bundles -------------------------------------------------------------------------------

def asset_names(bases, variants, count, rng):
    """count distinct (folder name, Chinese name) pairs from base nouns and variants."""
    combos = [(f"{b}_{v}", vc + bc) for b, bc in bases for v, vc in variants]
    rng.shuffle(combos)
    names = combos[:count]
    number = 0
    while len(names) < count:
        b, bc = bases[number % len(bases)]
        names.append((f"{b}_{number // len(bases)}", bc))
        number += 1
    return names


def split_count(total, weights):
    """Integers proportional to weights, each at least 1, summing to total."""
    return distribute(total, weights, 1)


def one_line(cn, rng):
    return DatFile(["Name " + cn], pick_eol(rng), rng.random())


def item_dat(cn, rng):
    lines = ["Name " + cn, "Description " + filler(rng, rng.randint(8, 22))]
    if rng.random() < 0.5:
        lines += ["", "Examine " + rng.choice(A.VARIANTS)[1] + cn + "。" + rng.choice(
            ["看起来还能用。", "需要修理。", "保存得很好。"])]
    return DatFile(lines, pick_eol(rng), rng.random())


def object_dat(cn, rng):
    if rng.random() < 0.6:
        return DatFile(["Name " + cn], pick_eol(rng), rng.random())
    return DatFile(["Name " + cn, "Interact " + rng.choice(
        ["打开", "搜索", "使用", "关闭", "检查"]) + cn], pick_eol(rng), rng.random())


def npc_dat(kind, person_cn, name_cn, rng):
    lines = ["Name " + name_cn, "Character " + person_cn + name_cn, ""]
    for i in range(rng.randint(1, 3)):
        lines.append(f"Message_{i}_Page_0 " + filler(rng, rng.randint(8, 20)))
        lines.append(f"Response_{i} " + rng.choice(["好的。", "我明白了。", "再见。", "我需要想一想。", "成交！"]))
        lines.append("")
    if kind == "Quests":
        lines += ["Condition_0 收集物品：{0}/{1}", "Reward_0 经验值 +{0}"]
    while lines[-1] == "":
        lines.pop()
    return DatFile(lines, pick_eol(rng), rng.random())


def build_npcs(tree, figures):
    folders, files, total, empties = figures
    terminals = []
    for kind in ["Characters", "Dialogues", "Quests", "Vendors"]:
        for region in A.NPC_REGIONS:
            if kind == "Dialogues" and region == "Russia":
                terminals += [(kind, region, sub) for sub in ["Bunker", "Military", "Port"]]
            else:
                terminals.append((kind, region))
    counts = split_count(files, [1.0] * len(terminals))
    leaves = []
    for path, count in zip(terminals, counts):
        rng = rng_for("NPCs", *path)
        people = [(f"{n}_{p}", p_cn, n_cn) for n, n_cn in A.NPC_NAMES for p, p_cn in A.NPC_PEOPLE]
        rng.shuffle(people)
        for name, person_cn, name_cn in people[:count]:
            if path[0] == "Dialogues":
                name = "Dialogue_" + name
            elif path[0] == "Quests":
                name = "Quest_" + name
            elif path[0] == "Vendors":
                name = "Vendor_" + name
            leaves.append(("NPCs/" + "/".join(path) + "/" + name,
                           npc_dat(path[0], person_cn, name_cn, rng_for("NPCs", name, *path))))
    add_leaves(tree, "NPCs", leaves, total, empties)


def build_categories(tree, top, categories, figures, make_dat):
    folders, files, total, empties = figures
    paths = list(categories)
    counts = split_count(files, [len(categories[p]) for p in paths])
    leaves = []
    for path, count in zip(paths, counts):
        rng = rng_for(top, *path)
        variants = A.CONSUMABLE_VARIANTS if path in A.CONSUMABLE_CATEGORIES else A.VARIANTS
        names = asset_names(categories[path], variants, count, rng)
        if path in LONG_NAMES:  # the set's longest entry name
            names[0] = LONG_NAMES[path]
        for name, cn in names:
            leaf_rng = rng_for(top, name, *path)
            leaves.append((top + "/" + "/".join(path) + "/" + name, make_dat(cn, leaf_rng)))
    add_leaves(tree, top, leaves, total, empties)


def build_flat(tree, top, bases, variants, figures, numbered=False):
    folders, files, total, empties = figures
    rng = rng_for(top)
    if numbered:
        names = [(f"{b}_{i}", bc) for i in range(10) for b, bc in bases][:files]
    elif variants:
        names = asset_names(bases, variants, files, rng)
    else:
        names = bases[:files]
    leaves = [(f"{top}/{name}", one_line(cn, rng_for(top, name))) for name, cn in names]
    add_leaves(tree, top, leaves, total, empties)


def add_leaves(tree, top, leaves, total, empties):
    """Each leaf is an asset folder holding one Schinese.dat; `empties` of them are empty."""
    rng = rng_for(top, "empty")
    empty = set(rng.sample(range(len(leaves)), empties))
    dat_files = [dat for i, (_, dat) in enumerate(leaves) if i not in empty]
    datas = iter(fitted(dat_files, total))
    tree.add_folder(top)
    for i, (folder, _) in enumerate(leaves):
        tree.add_file(folder + "/Schinese.dat", b"" if i in empty else next(datas))


def build_bundles():
    tree = Tree()
    build_npcs(tree, BUNDLES["NPCs"])
    build_categories(tree, "Objects", A.OBJECT_CATEGORIES, BUNDLES["Objects"], object_dat)
    build_flat(tree, "Resources", A.RESOURCES, None, BUNDLES["Resources"], numbered=True)
    sources_lines = ["Name 主菜单音乐", "Title 幸存者之歌", ""] + [
        f"Track_{i} " + filler(rng_for("Sources", str(i)), 12) for i in range(8)]
    tree.add_folder("Sources")
    tree.add_file("Sources/Music/Main_Menu/Schinese.dat",
                  DatFile(sources_lines, "\n", 1).render(BUNDLES["Sources"][2], random.Random(1)))
    build_flat(tree, "Trees", A.TREES, A.TREE_VARIANTS, BUNDLES["Trees"])
    build_flat(tree, "Vehicles", A.VEHICLES, A.VARIANTS, BUNDLES["Vehicles"])
    build_flat(tree, "Animals", A.ANIMALS, None, BUNDLES["Animals"])
    build_categories(tree, "Items", A.ITEM_CATEGORIES, BUNDLES["Items"], item_dat)
    build_flat(tree, "Mythics", A.MYTHICS, A.MYTHIC_VARIANTS, BUNDLES["Mythics"])
    return tree.entries(top_order=list(BUNDLES))


# ---- Localization --------------------------------------------------------------------------

UI_NOUNS = [
    ("Play", "开始游戏"), ("Survivors", "幸存者"), ("Configuration", "设置"), ("Workshop", "创意工坊"),
    ("Exit", "退出"), ("Graphics", "图像"), ("Audio", "音频"), ("Controls", "控制"),
    ("Display", "显示"), ("Quality", "画质"), ("Server", "服务器"), ("Map", "地图"),
    ("Mode", "模式"), ("Difficulty", "难度"), ("Camera", "视角"), ("Chat", "聊天"),
    ("Inventory", "物品栏"), ("Crafting", "制作"), ("Skills", "技能"), ("Group", "小组"),
    ("Character", "角色"), ("Clothing", "服装"), ("Language", "语言"), ("Volume", "音量"),
    ("Brightness", "亮度"), ("Sensitivity", "灵敏度"), ("Resolution", "分辨率"),
    ("Fullscreen", "全屏"), ("Shadows", "阴影"), ("Water", "水面"), ("Terrain", "地形"),
    ("Objects", "物体"), ("Spawns", "刷新点"), ("Lighting", "光照"), ("Weather", "天气"),
    ("Roads", "道路"), ("Navigation", "导航"), ("Players", "玩家"), ("Password", "密码"),
    ("Name", "名称"), ("Connect", "连接"), ("Refresh", "刷新"), ("Filters", "筛选"),
    ("Favorites", "收藏"), ("History", "历史"), ("Friends", "好友"), ("Ping", "延迟"),
    ("Save", "保存"), ("Load", "读取"), ("Delete", "删除"), ("Confirm", "确认"),
    ("Cancel", "取消"), ("Back", "返回"), ("Health", "生命值"), ("Food", "饱食度"),
    ("Water_Level", "水分"), ("Stamina", "体力"), ("Oxygen", "氧气"), ("Experience", "经验"),
]
UI_SUFFIXES = [
    ("_Button", "@"), ("_Button_Tooltip", "点击打开@。"), ("_Label", "@："), ("_Box_Hint", "请输入@"),
    ("_Toggle", "启用@"), ("_Toggle_Tooltip", "切换是否启用@。"), ("_Title", "@"),
    ("_Text", "当前@：{0}"), ("_Slider", "@：{0}%"), ("_Warning", "@发生了变化，是否保存？"),
]

EDITOR = ["EditorDashboard", "EditorLevel", "EditorLevelObjects", "EditorLevelPlayers",
          "EditorLevelVisibility", "EditorEnvironment", "EditorEnvironmentLighting",
          "EditorEnvironmentRoads", "EditorEnvironmentNavigation", "EditorEnvironmentNodes",
          "EditorSpawns", "EditorSpawnsAnimals", "EditorSpawnsItems", "EditorSpawnsVehicles",
          "EditorSpawnsZombies", "EditorTerrain", "EditorTerrainDetails", "EditorTerrainHeights",
          "EditorTerrainMaterials", "EditorTerrainResources", "EditorPause"]
MENU = {
    "": ["MenuDashboard", "MenuPause", "MenuTitle", "MenuLoading", "MenuCredits"],
    "Configuration": ["MenuConfiguration", "MenuConfigurationControls", "MenuConfigurationDisplay",
                      "MenuConfigurationGraphics", "MenuConfigurationOptions", "MenuConfigurationAudio",
                      "MenuConfigurationKeys", "MenuConfigurationGameplay"],
    "Play": ["MenuPlay", "MenuPlayConnect", "MenuPlayServers", "MenuPlayServerInfo",
             "MenuPlaySingleplayer", "MenuPlayLobbies", "MenuPlayMatchmaking", "MenuPlayFilters",
             "MenuPlayTutorial", "MenuPlayHistory"],
    "Survivors": ["MenuSurvivors", "MenuSurvivorsCharacter", "MenuSurvivorsAppearance",
                  "MenuSurvivorsClothing", "MenuSurvivorsGroup", "MenuSurvivorsSkills"],
    "Workshop": ["MenuWorkshop", "MenuWorkshopEditor", "MenuWorkshopSubmit", "MenuWorkshopLocalization"],
}
PLAYER = {
    "": ["PlayerDashboard", "PlayerDashboardInventory", "PlayerDashboardCrafting",
         "PlayerDashboardSkills", "PlayerDashboardInformation", "PlayerLife", "PlayerDeath",
         "PlayerPause", "PlayerNPCDialogue"],
    "Useable": ["PlayerBarricadeSign", "PlayerBarricadeStereo", "PlayerBarricadeLibrary",
                "PlayerBarricadeMannequin", "PlayerUseableGun", "PlayerUseableFuel",
                "PlayerUseableCarPaint", "PlayerUseableArrestStart"],
}
SERVER_COMMANDS = [
    "Admin", "Admins", "Airdrop", "Animal", "Ban", "Bans", "Bind", "Camera", "Chatrate", "Cheats",
    "Copy", "Cycle", "Day", "Debug", "Effect", "Experience", "Filter", "Flag", "Gameplay", "Give",
    "GSLT", "Help", "Hide", "Kick", "Kill", "Loadout", "Log", "Map", "MaxPlayers", "Mode",
    "Modules", "Name", "Night", "Owner", "Password", "Permit", "Permits", "Viewpoint", "Players",
    "Port", "PvE", "Queue", "Reputation", "Reset", "ResetConfig", "Save", "Say", "Shutdown",
    "Slay", "Spy", "Sync", "Teleport", "Time", "Timeout", "Unadmin", "Unban", "Unpermit",
    "Vehicle", "Votify", "Weather", "Welcome", "Whitelisted", "Workshop", "Zombies", "Storm",
    "Notify", "Status",
]
SERVER_LINES = [
    ("Help", "用法：/@ [参数]"), ("Info", "@命令已执行。"), ("Denied", "你没有使用@命令的权限。"),
    ("NotFound", "找不到玩家 {0}。"), ("Text", "{0} 已执行@命令。"), ("Invalid", "无效的参数：{0}"),
    ("Success", "@：操作成功完成。"), ("Failure", "@：操作失败，请稍后再试。"),
]


class UiLines:
    """An endless stream of interface text lines for one localisation file."""

    def __init__(self, rng):
        self.rng = rng

    def lines(self, count):
        used = set()
        out = []
        while len(out) < count:
            group = self.rng.randint(3, 8)
            for _ in range(group):
                noun, cn = self.rng.choice(UI_NOUNS)
                suffix, pattern = self.rng.choice(UI_SUFFIXES)
                key = noun + suffix
                if key in used:
                    continue
                used.add(key)
                out.append(key + " " + pattern.replace("@", cn))
            out.append("")
        return out[:-1] if out[-1] == "" else out


def server_lines(command, rng, count):
    out = [f"Command {command.lower()}"]
    number = 0
    while len(out) < count:
        out.append("")
        for key, pattern in SERVER_LINES:
            suffix = f"_{number}" if number else ""
            out.append(key + suffix + " " + pattern.replace("@", command.lower()))
        number += 1
    return out


def build_localization():
    tree = Tree()
    tree.add_folder("Schinese")
    files = []  # (path, lines, weight)
    for name in EDITOR:
        files.append((f"Schinese/Editor/{name}.dat", 1.2))
    for sub, names in MENU.items():
        for name in names:
            files.append(("Schinese/Menu/" + (sub + "/" if sub else "") + name + ".dat", 1.2))
    for sub, names in PLAYER.items():
        for name in names:
            files.append(("Schinese/Player/" + (sub + "/" if sub else "") + name + ".dat", 1.0))
    for name in SERVER_COMMANDS:
        files.append((f"Schinese/Server/ServerCommand{name}.dat", 0.6))
    files.append(("Schinese/Shared/Common.dat", 1.0))
    rng = rng_for("Localization", "sizes")
    weights = [w * rng.uniform(0.4, 1.8) for _, w in files]
    sizes = distribute(ARCHIVES["Localization"][2], weights, 40)
    for (path, _), size in zip(files, sizes):
        frng = rng_for("Localization", path)
        count = size // 10 + 4  # more lines than the size needs; the fit takes what fits
        if "/Server/" in path:
            lines = server_lines(path.split("ServerCommand")[1][:-4], frng, count)
        else:
            lines = UiLines(frng).lines(count)
        tree.add_file(path, DatFile(lines, pick_eol(frng), 0).render(size, frng))
    return tree.entries()


# ---- Maps, Extras, Translations ------------------------------------------------------------

MAPS = [("Alpha Valley", "阿尔法山谷"), ("Germany", "德国"), ("Monolith", "巨石"),
        ("Paintball_Arena_0", "彩弹竞技场"), ("PEI", "爱德华王子岛"), ("PEI Arena", "爱德华王子岛竞技场"),
        ("Russia", "俄罗斯"), ("Tutorial", "新手教程"), ("Washington", "华盛顿"),
        ("Washington Arena", "华盛顿竞技场"), ("Yukon", "育空")]


def map_dat(name, cn, rng):
    lines = ["Name " + cn, "Description " + filler(rng, rng.randint(20, 40)), ""]
    lines += [f"Tip_{i} " + filler(rng, rng.randint(10, 24)) for i in range(rng.randint(2, 5))]
    return DatFile(lines, pick_eol(rng), rng.random())


def build_maps():
    tree = Tree()
    dat_files = [map_dat(n, cn, rng_for("Maps", n)) for n, cn in MAPS]
    for (name, _), data in zip(MAPS, fitted(dat_files, ARCHIVES["Maps"][2])):
        tree.add_file(f"{name}/Schinese.dat", data)
    return tree.entries()


def build_extras():
    tree = Tree()
    rows = [
        ("Bundles/Items/Barricades/Sign_Picket", DatFile(
            ["Name 尖桩告示牌", "Description 插在地上的木制告示牌，可以写字。", "", "Sign_Hint 按 {0} 编辑文字"],
            "\n", 1)),
        ("Bundles/Resources/SpeedTreeBroadleaf", DatFile(["Name 阔叶树"], "\n", 2)),
        ("Bundles/Resources/SpeedTreePine", DatFile(["Name 松树"], "\n", 3)),
        ("Maps/Festive PEI", DatFile(["Name 节日版爱德华王子岛", "Description 白雪覆盖的节日小岛。"], "\r\n", 4)),
        ("Maps/Festive Russia", DatFile(["Name 节日版俄罗斯", "Description 冬日节庆中的俄罗斯。"], "\n", 5)),
        ("Maps/Halloween PEI", DatFile(["Name 万圣节版爱德华王子岛", "Description 南瓜灯照亮了小岛。"], "\n", 6)),
        ("Maps/PEI_Space", DatFile(["Name 太空版爱德华王子岛"], "\n", 7)),
    ]
    for (folder, _), data in zip(rows, fitted([dat for _, dat in rows], ARCHIVES["Extras"][2])):
        tree.add_file(folder + "/Schinese.dat", data)
    return tree.entries()


TRANSLATION_SECTIONS = [
    ("Menu", UI_NOUNS[:30]), ("Player", UI_NOUNS[20:]), ("Server", UI_NOUNS[10:40]),
]


def build_translation():
    size = ARCHIVES["Translations"][2]
    rng = rng_for("Translations")
    head = ('"Language"\r\n{\r\n\t"Name"\t\t"Schinese"\r\n\t"English_Name"\t\t"Simplified Chinese"\r\n'
            '\t"Native_Name"\t\t"简体中文"\r\n\t"Version"\t\t"1.0"\r\n}\r\n"Tokens"\r\n{\r\n')
    tail = "}\r\n"
    body = ""
    budget = size - utf8_len(head) - utf8_len(tail)
    number = 0
    while True:
        section, nouns = TRANSLATION_SECTIONS[number % len(TRANSLATION_SECTIONS)]
        noun, cn = rng.choice(nouns)
        suffix, pattern = rng.choice(UI_SUFFIXES)
        line = f'\t"{section}_{noun}{suffix}_{number}"\t\t"{pattern.replace("@", cn)}"\r\n'
        if utf8_len(body) + utf8_len(line) + 60 > budget:
            break
        body += line
        number += 1
    # The last token fills the rest exactly: its key length makes the value whole characters.
    room = budget - utf8_len(body) - len('\t""\t\t""\r\n')
    key = next(k for k in ("Tip_End", "Tip_Final", "Tip_Last") if (room - len(k)) % 3 == 0)
    value = fit_chars("祝你在末日世界中生存愉快！", (room - len(key)) // 3, rng)
    body += f'\t"{key}"\t\t"{value}"\r\n'
    text = (head + body + tail).encode("utf-8")
    assert len(text) == size
    return [("Schinese.translation", text)]


# ---- times, checks, output -----------------------------------------------------------------

RANGES = {
    "Translations": (datetime.datetime(2020, 8, 1), TIME_LAST),
    "Extras": (datetime.datetime(2018, 12, 1), datetime.datetime(2020, 7, 15)),
    "Localization": (datetime.datetime(2018, 1, 10), datetime.datetime(2020, 8, 29)),
    "Maps": (datetime.datetime(2017, 9, 1), datetime.datetime(2020, 6, 30)),
    "Bundles": (TIME_FIRST, datetime.datetime(2020, 8, 20)),
}


def times_for(archive, entries):
    """(write, access, creation) for each entry: even seconds inside the archive's range.

    The first Bundles entry carries the earliest and the Translations file the latest write
    time of the whole set.
    """
    rng = rng_for(archive, "times")
    first, last = RANGES[archive]
    span = int((last - first).total_seconds()) // 2
    out = []
    for i, _ in enumerate(entries):
        write = first + datetime.timedelta(seconds=2 * rng.randint(0, span))
        if archive == "Bundles" and i == 0:
            write = TIME_FIRST
        if archive == "Translations":
            write = TIME_LAST
        access = min(write + datetime.timedelta(seconds=2 * rng.randint(0, 45 * 86400)), TIME_LAST)
        creation = max(write - datetime.timedelta(seconds=2 * rng.randint(0, 200 * 86400)), TIME_FIRST)
        out.append((write, access, creation))
    return out


def check(archive, entries):
    folders = sum(1 for n, d in entries if d is None)
    files = len(entries) - folders
    size = sum(len(d) for n, d in entries if d is not None)
    want = ARCHIVES[archive]
    if (folders, files, size) != want:
        raise SystemExit(f"{archive}: made {(folders, files, size)}, want {want}")
    if archive == "Bundles":
        for top, (tf, tn, tb, te) in BUNDLES.items():
            mine = [(n, d) for n, d in entries if n.startswith(top + "/")]
            got = (sum(1 for _, d in mine if d is None), sum(1 for _, d in mine if d is not None),
                   sum(len(d) for _, d in mine if d is not None),
                   sum(1 for _, d in mine if d == b""))
            if got != (tf, tn, tb, te):
                raise SystemExit(f"Bundles/{top}: made {got}, want {(tf, tn, tb, te)}")
    for name, data in entries:
        if data is not None:
            data.decode("utf-8")
            assert not data.startswith(b"\xef\xbb\xbf"), name
            assert name.rsplit("/", 1)[-1] in ("Schinese.dat", "Schinese.translation") or \
                archive == "Localization", name
        depth = name.rstrip("/").count("/") + (1 if data is None else 0)
        assert depth <= 6, name
        assert len(name) <= LONGEST_NAME, name


def write_tree(out, archive, entries, times):
    folder = os.path.join(out, archive)
    if os.path.exists(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    lines = ["# write\taccess\tcreation\tname (UTC); written by tools/make_sample_tree.py"]
    for (name, data), (write, access, creation) in zip(entries, times):
        path = os.path.join(folder, *name.rstrip("/").split("/"))
        if data is None:
            os.makedirs(path, exist_ok=True)
        else:
            with open(path, "wb") as f:
                f.write(data)
        fmt = "%Y-%m-%d %H:%M:%S"
        lines.append(f"{write.strftime(fmt)}\t{access.strftime(fmt)}\t{creation.strftime(fmt)}\t{name}")
    # Times last, folders after their contents, so that writing files does not move them.
    epoch = datetime.datetime(1970, 1, 1)
    for (name, data), (write, access, _) in reversed(list(zip(entries, times))):
        path = os.path.join(folder, *name.rstrip("/").split("/"))
        os.utime(path, ns=(int((access - epoch).total_seconds()) * 10**9,
                           int((write - epoch).total_seconds()) * 10**9))
    with open(os.path.join(out, archive + ".entries"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


BUILDERS = {
    "Translations": build_translation,
    "Extras": build_extras,
    "Localization": build_localization,
    "Maps": build_maps,
    "Bundles": build_bundles,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(REPO, "payload", "src"))
    args = parser.parse_args()
    made = {}
    for archive, build in BUILDERS.items():
        entries = build()
        check(archive, entries)
        made[archive] = entries
    os.makedirs(args.out, exist_ok=True)
    for archive, entries in made.items():
        write_tree(args.out, archive, entries, times_for(archive, entries))
        folders = sum(1 for _, d in entries if d is None)
        print(f"{archive}: {len(entries)} entries ({folders} + {len(entries) - folders})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
