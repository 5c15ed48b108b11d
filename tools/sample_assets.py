"""Asset vocabularies of the sample translation: English folder names with Chinese names.

Each category lists base nouns and variants; asset folder names are "Base_Variant" (with a
number when a category needs more), and their Chinese names are variant + noun.
"""

VARIANTS = [
    ("Red", "红色"), ("Blue", "蓝色"), ("Green", "绿色"), ("Black", "黑色"), ("White", "白色"),
    ("Yellow", "黄色"), ("Rusty", "生锈的"), ("Old", "破旧的"), ("Wooden", "木制"),
    ("Metal", "金属"), ("Small", "小型"), ("Large", "大型"), ("Military", "军用"),
    ("Police", "警用"), ("Civilian", "民用"), ("Broken", "损坏的"), ("Winter", "冬季"),
    ("Desert", "沙漠"), ("Forest", "森林"), ("Urban", "城市"),
]

# Variants for food, drink and medicine, where colours and materials read oddly.
CONSUMABLE_VARIANTS = [
    ("Fresh", "新鲜的"), ("Canned", "罐装"), ("Large", "大份"), ("Small", "小份"),
    ("Expired", "过期的"), ("Military", "军用"), ("Civilian", "民用"), ("Homemade", "自制"),
    ("Imported", "进口"), ("Old", "陈旧的"), ("Frozen", "冷冻的"), ("Spicy", "辣味"),
]
CONSUMABLE_CATEGORIES = {("Food",), ("Water",), ("Medical",)}

NPC_REGIONS = ["Alpha_Valley", "Germany", "Monolith", "PEI", "Russia", "Tutorial",
               "Washington", "Yukon"]
NPC_PEOPLE = [
    ("Ranger", "护林员"), ("Doctor", "医生"), ("Trader", "商人"), ("Soldier", "士兵"),
    ("Farmer", "农夫"), ("Mechanic", "机械师"), ("Hunter", "猎人"), ("Scientist", "科学家"),
    ("Sheriff", "警长"), ("Fisherman", "渔夫"), ("Pilot", "飞行员"), ("Cook", "厨师"),
    ("Survivor", "幸存者"), ("Engineer", "工程师"), ("Priest", "神父"), ("Miner", "矿工"),
]
NPC_NAMES = [("Anna", "安娜"), ("Boris", "鲍里斯"), ("Carl", "卡尔"), ("Dmitri", "德米特里"),
             ("Elena", "叶莲娜"), ("Frank", "弗兰克"), ("Greta", "格蕾塔"), ("Hans", "汉斯"),
             ("Ivan", "伊万"), ("Jack", "杰克"), ("Klaus", "克劳斯"), ("Lena", "莉娜"),
             ("Mark", "马克"), ("Nina", "尼娜"), ("Oleg", "奥列格"), ("Paul", "保罗")]

# Objects: terminal category path below "Objects/" -> base nouns.
OBJECT_CATEGORIES = {
    ("Large", "Buildings", "Houses"): [("House", "房屋"), ("Cabin", "小屋"), ("Garage", "车库"), ("Shed", "棚屋")],
    ("Large", "Buildings", "Shops"): [("Store", "商店"), ("Diner", "餐馆"), ("Pharmacy", "药店"), ("Station", "加油站")],
    ("Large", "Buildings", "Industrial"): [("Factory", "工厂"), ("Warehouse", "仓库"), ("Silo", "筒仓"), ("Crane", "起重机")],
    ("Large", "Buildings", "Farms"): [("Barn", "谷仓"), ("Stable", "马厩"), ("Greenhouse", "温室")],
    ("Large", "Buildings", "Military", "Bunkers"): [("Bunker", "地堡"), ("Bunker_Wall", "地堡墙"), ("Bunker_Door", "地堡门")],
    ("Large", "Buildings", "Military", "Barracks"): [("Barrack", "营房"), ("Mess_Hall", "食堂")],
    ("Large", "Buildings", "Military", "Hangars"): [("Hangar", "机库"), ("Control_Tower", "塔台")],
    ("Large", "Rocks"): [("Rock", "岩石"), ("Boulder", "巨石"), ("Stone", "石块")],
    ("Large", "Cliffs"): [("Cliff", "悬崖"), ("Ledge", "岩架")],
    ("Large", "Bridges"): [("Bridge", "桥梁"), ("Overpass", "天桥")],
    ("Large", "Towers"): [("Tower", "高塔"), ("Radio_Tower", "无线电塔"), ("Water_Tower", "水塔")],
    ("Large", "Walls"): [("Wall", "围墙"), ("Gate", "大门")],
    ("Large", "Ships"): [("Ship", "轮船"), ("Tugboat", "拖船")],
    ("Medium", "Fences"): [("Fence", "栅栏"), ("Railing", "栏杆")],
    ("Medium", "Furniture"): [("Sofa", "沙发"), ("Bed", "床"), ("Table", "桌子"), ("Wardrobe", "衣柜")],
    ("Medium", "Wrecks"): [("Car_Wreck", "汽车残骸"), ("Bus_Wreck", "公交车残骸"), ("Truck_Wreck", "卡车残骸")],
    ("Medium", "Signs"): [("Sign", "标牌"), ("Billboard", "广告牌"), ("Road_Sign", "路标")],
    ("Medium", "Containers"): [("Container", "集装箱"), ("Dumpster", "垃圾箱"), ("Locker", "储物柜")],
    ("Medium", "Lamps"): [("Lamp_Post", "路灯"), ("Floodlight", "探照灯")],
    ("Medium", "Tents"): [("Tent", "帐篷"), ("Canopy", "遮阳棚")],
    ("Medium", "Docks"): [("Dock", "码头"), ("Pier", "栈桥"), ("Buoy", "浮标")],
    ("Medium", "Machinery"): [("Generator", "发电机"), ("Pump", "水泵"), ("Tractor", "拖拉机")],
    ("Medium", "Playground"): [("Swing", "秋千"), ("Slide", "滑梯")],
    ("Medium", "Sports"): [("Goal", "球门"), ("Bleachers", "看台")],
    ("Medium", "Statues"): [("Statue", "雕像"), ("Monument", "纪念碑")],
    ("Small", "Debris"): [("Debris", "碎片"), ("Rubble", "瓦砾"), ("Plank", "木板")],
    ("Small", "Props"): [("Chair", "椅子"), ("Bench", "长椅"), ("Mailbox", "邮箱")],
    ("Small", "Crates"): [("Crate", "箱子"), ("Pallet", "货盘")],
    ("Small", "Barrels"): [("Barrel", "油桶"), ("Keg", "小桶")],
    ("Small", "Plants"): [("Bush", "灌木"), ("Flower_Pot", "花盆"), ("Hedge", "树篱")],
    ("Small", "Trash"): [("Trash_Bag", "垃圾袋"), ("Trash_Can", "垃圾桶")],
    ("Small", "Tools"): [("Toolbox", "工具箱"), ("Workbench", "工作台")],
    ("Small", "Office"): [("Desk", "办公桌"), ("Filing_Cabinet", "文件柜"), ("Computer", "电脑")],
    ("Small", "Kitchen"): [("Stove", "炉灶"), ("Fridge", "冰箱"), ("Sink", "水槽")],
    ("Small", "Electronics"): [("Television", "电视"), ("Radio", "收音机")],
    ("Small", "Medical"): [("Stretcher", "担架"), ("Medical_Cart", "医疗推车")],
    ("Small", "Toys"): [("Teddy_Bear", "泰迪熊"), ("Toy_Car", "玩具车")],
    ("Tiny", "Bottles"): [("Bottle", "瓶子"), ("Jar", "罐子")],
    ("Tiny", "Books"): [("Book", "书"), ("Magazine", "杂志")],
    ("Tiny", "Cans"): [("Can", "罐头"), ("Soda_Can", "易拉罐")],
    ("Tiny", "Papers"): [("Newspaper", "报纸"), ("Poster", "海报")],
}

ITEM_CATEGORIES = {
    ("Guns", "Rifles", "Military"): [("Assault_Rifle", "突击步枪"), ("Battle_Rifle", "战斗步枪"), ("Carbine", "卡宾枪")],
    ("Guns", "Rifles", "Civilian"): [("Hunting_Rifle", "猎枪"), ("Lever_Rifle", "杠杆步枪")],
    ("Guns", "Rifles", "Sniper"): [("Sniper_Rifle", "狙击步枪"), ("Marksman_Rifle", "精确射手步枪")],
    ("Guns", "Pistols"): [("Pistol", "手枪"), ("Revolver", "左轮手枪")],
    ("Guns", "Shotguns"): [("Shotgun", "霰弹枪"), ("Sawed_Off", "短管霰弹枪")],
    ("Guns", "SMGs"): [("SMG", "冲锋枪"), ("Machine_Pistol", "冲锋手枪")],
    ("Guns", "Launchers"): [("Rocket_Launcher", "火箭筒"), ("Flare_Gun", "信号枪")],
    ("Guns", "Bows"): [("Bow", "弓"), ("Crossbow", "弩")],
    ("Attachments", "Sights"): [("Red_Dot", "红点瞄准镜"), ("Scope", "瞄准镜"), ("Holographic", "全息瞄准镜")],
    ("Attachments", "Grips"): [("Vertical_Grip", "垂直握把"), ("Bipod", "两脚架")],
    ("Attachments", "Barrels"): [("Suppressor", "消音器"), ("Muzzle_Brake", "制退器")],
    ("Attachments", "Tactical"): [("Laser", "激光指示器"), ("Flashlight", "战术手电")],
    ("Attachments", "Magazines"): [("Magazine", "弹匣"), ("Drum", "弹鼓"), ("Ammo_Box", "弹药盒")],
    ("Melee",): [("Knife", "小刀"), ("Machete", "砍刀"), ("Axe", "斧头"), ("Bat", "球棒"), ("Crowbar", "撬棍")],
    ("Clothing", "Shirts"): [("Shirt", "衬衫"), ("Jacket", "夹克"), ("Hoodie", "连帽衫")],
    ("Clothing", "Pants"): [("Jeans", "牛仔裤"), ("Cargo_Pants", "工装裤"), ("Shorts", "短裤")],
    ("Clothing", "Hats"): [("Cap", "鸭舌帽"), ("Helmet", "头盔"), ("Beanie", "毛线帽")],
    ("Clothing", "Vests"): [("Vest", "背心"), ("Plate_Carrier", "防弹背心")],
    ("Clothing", "Backpacks"): [("Backpack", "背包"), ("Duffle_Bag", "行李袋")],
    ("Clothing", "Glasses"): [("Sunglasses", "墨镜"), ("Goggles", "护目镜")],
    ("Clothing", "Masks"): [("Gas_Mask", "防毒面具"), ("Bandana", "头巾")],
    ("Food",): [("Canned_Beans", "豆子罐头"), ("Bread", "面包"), ("Apple", "苹果"), ("Chips", "薯片"), ("MRE", "军用口粮")],
    ("Water",): [("Water_Bottle", "水瓶"), ("Soda", "汽水"), ("Canteen", "水壶")],
    ("Medical",): [("Bandage", "绷带"), ("Medkit", "医疗包"), ("Painkillers", "止痛药"), ("Splint", "夹板")],
    ("Tools",): [("Hammer", "锤子"), ("Saw", "锯子"), ("Blowtorch", "喷灯"), ("Map", "地图"), ("Compass", "指南针")],
    ("Barricades", "Walls"): [("Plate_Wall", "板墙"), ("Barbed_Wire", "铁丝网")],
    ("Barricades", "Doors"): [("Door", "门"), ("Hatch", "舱口")],
    ("Barricades", "Storage"): [("Crate", "储物箱"), ("Safe", "保险箱"), ("Rack", "武器架")],
    ("Barricades", "Traps"): [("Landmine", "地雷"), ("Snare", "捕兽夹"), ("Tripwire", "绊线")],
}

RESOURCES = [("Birch", "白桦"), ("Maple", "枫树"), ("Pine", "松树"), ("Spruce", "云杉"),
             ("Oak", "橡树"), ("Bush_Berry", "浆果丛"), ("Rock_Granite", "花岗岩"),
             ("Rock_Iron", "铁矿石"), ("Rock_Coal", "煤矿石"), ("Stump", "树桩")]
TREES = [("Birch", "白桦树"), ("Maple", "枫树"), ("Pine", "松树"), ("Spruce", "云杉"),
         ("Oak", "橡树"), ("Palm", "棕榈树"), ("Willow", "柳树"), ("Cedar", "雪松"),
         ("Fir", "冷杉")]
TREE_VARIANTS = [("Tall", "高大的"), ("Young", "幼小的"), ("Dead", "枯死的"), ("Snowy", "积雪的"),
                 ("Autumn", "秋天的")]
VEHICLES = [("Sedan", "轿车"), ("Pickup", "皮卡"), ("Hatchback", "两厢车"), ("Jeep", "吉普车"),
            ("Humvee", "悍马"), ("Truck", "卡车"), ("Bus", "公交车"), ("Ambulance", "救护车"),
            ("Firetruck", "消防车"), ("Police_Car", "警车"), ("Taxi", "出租车"),
            ("Tractor", "拖拉机"), ("Quad", "四轮摩托"), ("Motorbike", "摩托车"),
            ("Bicycle", "自行车"), ("Boat", "小船"), ("Jetski", "摩托艇"), ("Helicopter", "直升机"),
            ("Plane", "飞机"), ("Tank", "坦克"), ("APC", "装甲运兵车"), ("Van", "面包车"),
            ("Snowmobile", "雪地摩托"), ("Forklift", "叉车"), ("Golf_Cart", "高尔夫球车")]
ANIMALS = [("Bear", "熊"), ("Cow", "牛"), ("Deer", "鹿"), ("Moose", "驼鹿"), ("Pig", "猪"),
           ("Reindeer", "驯鹿"), ("Wolf", "狼")]
MYTHICS = [("Flames", "火焰"), ("Lightning", "闪电"), ("Bubbles", "泡泡"), ("Hearts", "爱心"),
           ("Snowflakes", "雪花"), ("Stars", "星星"), ("Smoke", "烟雾"), ("Sparks", "火花"),
           ("Rainbow", "彩虹"), ("Shadows", "暗影"), ("Halo", "光环"), ("Embers", "余烬"),
           ("Frost", "冰霜")]
MYTHIC_VARIANTS = [("Burning", "燃烧的"), ("Glowing", "发光的"), ("Ethereal", "空灵的")]
