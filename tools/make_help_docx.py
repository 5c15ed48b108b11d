#!/usr/bin/env python3
"""Builds the help document "获取游戏目录.docx": three illustrated steps to find the game folder.

    make_help_docx.py [OUTPUT]      (default: payload/data/获取游戏目录.docx)

An Office Open XML word-processing package of 25 entries (8 folders + 17 files), written by
the payload packer's ZIP writer with fixed times, so a second run gives the same bytes. The
pictures are drawn by help_pictures.py.
"""

import os
import sys
from xml.sax.saxutils import escape

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import help_pictures  # noqa: E402
import zippack  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OUTPUT = os.path.join(REPO, "payload", "data", "获取游戏目录.docx")
STAMP = zippack.parse_time("2020-08-30 12:40:00", "docx")

NS_W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"
NS_R = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
NS_PKG_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
CORE_PROPERTIES = "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"
XML_HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

# Picture size on the page: 800 x 500 pixels shown 15 cm wide (EMU: 360000 per cm).
PICTURE_CX = 15 * 360000
PICTURE_CY = PICTURE_CX * 500 // 800

TITLE = "如何获取游戏目录"
INTRO = ("“游戏目录”是游戏安装所在的文件夹，里面有 Unturned.exe。"
         "使用“快速汉化”时，需要把这个文件夹的完整路径填进安装程序的输入框。"
         "按照下面三步就能找到它。")
STEPS = [
    ("第一步：打开游戏的本地文件",
     ["打开游戏平台客户端，进入“库”。",
      "在游戏列表中右键点击 Unturned，选择“管理”，再选择“浏览本地文件”。",
      "系统会打开一个文件夹窗口，这个文件夹就是游戏目录。"]),
    ("第二步：复制文件夹路径",
     ["点击文件夹窗口顶部的地址栏，路径会显示为完整的文字并被选中。",
      "按 Ctrl+C 复制。路径的末尾应当是 Unturned，例如 D:\\Games\\GameLibrary\\common\\Unturned。",
      "不要复制 Unturned.exe 本身，只要文件夹的路径。"]),
    ("第三步：粘贴路径并开始汉化",
     ["回到汉化安装程序，点击输入框，按 Ctrl+V 粘贴刚才复制的路径。",
      "点击“快速汉化”按钮。路径不正确时，程序会提示“请输入正确的游戏目录！”。",
      "汉化完成后，程序会询问是否立即启动游戏。"]),
]
CLOSING = ("提示：如果不想手动查找，也可以直接点击“一键汉化”，程序会自动搜索所有磁盘上的游戏，"
           "但搜索可能需要几分钟。")


def run(text, bold=False, size=None, colour=None):
    props = ""
    if bold or size or colour:
        props = "<w:rPr>" + ("<w:b/>" if bold else "") + \
            (f'<w:color w:val="{colour}"/>' if colour else "") + \
            (f'<w:sz w:val="{size}"/><w:szCs w:val="{size}"/>' if size else "") + "</w:rPr>"
    return f'<w:r>{props}<w:t xml:space="preserve">{escape(text)}</w:t></w:r>'


def paragraph(content, style=None):
    props = f'<w:pPr><w:pStyle w:val="{style}"/></w:pPr>' if style else ""
    return f"<w:p>{props}{content}</w:p>"


def picture(number, name):
    """An inline picture paragraph showing word/media/image<number>.png."""
    return (
        '<w:p><w:pPr><w:pStyle w:val="Picture"/></w:pPr><w:r><w:drawing>'
        '<wp:inline distT="0" distB="0" distL="0" distR="0">'
        f'<wp:extent cx="{PICTURE_CX}" cy="{PICTURE_CY}"/>'
        '<wp:effectExtent l="0" t="0" r="0" b="0"/>'
        f'<wp:docPr id="{number}" name="{escape(name)}"/>'
        '<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect="1"/></wp:cNvGraphicFramePr>'
        '<a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture">'
        '<pic:pic>'
        f'<pic:nvPicPr><pic:cNvPr id="{number}" name="image{number}.png"/><pic:cNvPicPr/></pic:nvPicPr>'
        f'<pic:blipFill><a:blip r:embed="rIdImage{number}"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>'
        f'<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{PICTURE_CX}" cy="{PICTURE_CY}"/></a:xfrm>'
        '<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr>'
        '</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>')


def document_xml():
    body = [paragraph(run(TITLE), "Title"), paragraph(run(INTRO))]
    for number, (heading, lines) in enumerate(STEPS, 1):
        body.append(paragraph(run(heading), "Heading1"))
        for line in lines:
            body.append(paragraph(run("• " + line), "StepText"))
        body.append(picture(number, heading))
    body.append(paragraph(run(CLOSING, colour="7F4F00"), "Note"))
    section = ('<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>'
               '<w:pgMar w:top="1247" w:right="1134" w:bottom="1247" w:left="1134" '
               'w:header="720" w:footer="720" w:gutter="0"/></w:sectPr>')
    return (XML_HEAD +
            f'<w:document xmlns:w="{NS_W}" xmlns:r="{NS_R}" '
            'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
            'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
            'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture">'
            f'<w:body>{"".join(body)}{section}</w:body></w:document>')


def style(style_id, name, run_props="", para_props="", kind="paragraph", extra=""):
    return (f'<w:style w:type="{kind}" w:styleId="{style_id}"><w:name w:val="{name}"/>{extra}'
            f'<w:pPr>{para_props}</w:pPr><w:rPr>{run_props}</w:rPr></w:style>')


def styles_xml():
    fonts = '<w:rFonts w:ascii="Microsoft YaHei" w:eastAsia="Microsoft YaHei" w:hAnsi="Microsoft YaHei" w:cs="Arial"/>'
    return (XML_HEAD + f'<w:styles xmlns:w="{NS_W}">'
            f'<w:docDefaults><w:rPrDefault><w:rPr>{fonts}<w:sz w:val="22"/><w:szCs w:val="22"/>'
            '<w:lang w:val="en-US" w:eastAsia="zh-CN"/></w:rPr></w:rPrDefault>'
            '<w:pPrDefault><w:pPr><w:spacing w:after="120" w:line="312" w:lineRule="auto"/></w:pPr>'
            '</w:pPrDefault></w:docDefaults>'
            + style("Normal", "Normal", extra='<w:qFormat/>').replace('<w:style ', '<w:style w:default="1" ', 1)
            + style("Title", "Title", '<w:b/><w:color w:val="1F4E3D"/><w:sz w:val="44"/><w:szCs w:val="44"/>',
                    '<w:jc w:val="center"/><w:spacing w:before="240" w:after="360"/>',
                    extra='<w:basedOn w:val="Normal"/><w:next w:val="Normal"/><w:qFormat/>')
            + style("Heading1", "heading 1", '<w:b/><w:color w:val="2E6B4F"/><w:sz w:val="30"/><w:szCs w:val="30"/>',
                    '<w:keepNext/><w:spacing w:before="360" w:after="120"/><w:outlineLvl w:val="0"/>',
                    extra='<w:basedOn w:val="Normal"/><w:next w:val="Normal"/><w:qFormat/>')
            + style("StepText", "Step Text", "", '<w:keepNext/><w:ind w:left="360"/><w:spacing w:after="60"/>',
                    extra='<w:basedOn w:val="Normal"/>')
            + style("Picture", "Picture", "", '<w:jc w:val="center"/><w:spacing w:before="120" w:after="240"/>',
                    extra='<w:basedOn w:val="Normal"/>')
            + style("Note", "Note", '<w:i/>',
                    '<w:pBdr><w:top w:val="single" w:sz="6" w:space="4" w:color="E8590C"/>'
                    '<w:bottom w:val="single" w:sz="6" w:space="4" w:color="E8590C"/></w:pBdr>'
                    '<w:shd w:val="clear" w:color="auto" w:fill="FFF4E6"/><w:spacing w:before="240"/>',
                    extra='<w:basedOn w:val="Normal"/>')
            + '</w:styles>')


def settings_xml():
    return (XML_HEAD + f'<w:settings xmlns:w="{NS_W}"><w:zoom w:percent="100"/>'
            '<w:defaultTabStop w:val="420"/><w:characterSpacingControl w:val="compressPunctuation"/>'
            '<w:compat><w:compatSetting w:name="compatibilityMode" '
            'w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>'
            '<w:themeFontLang w:val="en-US" w:eastAsia="zh-CN"/></w:settings>')


def web_settings_xml():
    return XML_HEAD + f'<w:webSettings xmlns:w="{NS_W}"><w:optimizeForBrowser/><w:allowPNG/></w:webSettings>'


def font_table_xml():
    def font(name, family, pitch, charset):
        return (f'<w:font w:name="{name}"><w:charset w:val="{charset}"/><w:family w:val="{family}"/>'
                f'<w:pitch w:val="{pitch}"/></w:font>')
    return (XML_HEAD + f'<w:fonts xmlns:w="{NS_W}">' + font("Microsoft YaHei", "swiss", "variable", "86")
            + font("SimSun", "auto", "variable", "86") + font("Arial", "swiss", "variable", "00")
            + '</w:fonts>')


def theme_xml():
    colours = [("dk1", '<a:sysClr val="windowText" lastClr="000000"/>'),
               ("lt1", '<a:sysClr val="window" lastClr="FFFFFF"/>'),
               ("dk2", '<a:srgbClr val="1F4E3D"/>'), ("lt2", '<a:srgbClr val="E7E6E6"/>'),
               ("accent1", '<a:srgbClr val="2E6B4F"/>'), ("accent2", '<a:srgbClr val="E8590C"/>'),
               ("accent3", '<a:srgbClr val="A5A5A5"/>'), ("accent4", '<a:srgbClr val="FFC000"/>'),
               ("accent5", '<a:srgbClr val="4472C4"/>'), ("accent6", '<a:srgbClr val="70AD47"/>'),
               ("hlink", '<a:srgbClr val="0563C1"/>'), ("folHlink", '<a:srgbClr val="954F72"/>')]
    scheme = "".join(f"<a:{n}>{v}</a:{n}>" for n, v in colours)
    fonts = ('<a:latin typeface="Arial"/><a:ea typeface="Microsoft YaHei"/><a:cs typeface=""/>')
    fill = '<a:solidFill><a:schemeClr val="phClr"/></a:solidFill>'
    line = f'<a:ln w="9525">{fill}</a:ln>'
    return (XML_HEAD +
            '<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="Forest">'
            f'<a:themeElements><a:clrScheme name="Forest">{scheme}</a:clrScheme>'
            f'<a:fontScheme name="Forest"><a:majorFont>{fonts}</a:majorFont>'
            f'<a:minorFont>{fonts}</a:minorFont></a:fontScheme>'
            f'<a:fmtScheme name="Forest"><a:fillStyleLst>{fill * 3}</a:fillStyleLst>'
            f'<a:lnStyleLst>{line * 3}</a:lnStyleLst>'
            f'<a:effectStyleLst>{"<a:effectStyle><a:effectLst/></a:effectStyle>" * 3}</a:effectStyleLst>'
            f'<a:bgFillStyleLst>{fill * 3}</a:bgFillStyleLst></a:fmtScheme></a:themeElements>'
            '<a:objectDefaults/><a:extraClrSchemeLst/></a:theme>')


def relationships(rows):
    """A relationships part; a type without a scheme is one of the office document types."""
    body = "".join(f'<Relationship Id="{i}" Type="{t if t.startswith("http") else REL + t}" '
                   f'Target="{target}"/>' for i, t, target in rows)
    return XML_HEAD + f'<Relationships xmlns="{NS_PKG_REL}">{body}</Relationships>'


def content_types_xml():
    overrides = [
        ("/word/document.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"),
        ("/word/styles.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"),
        ("/word/settings.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"),
        ("/word/webSettings.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.webSettings+xml"),
        ("/word/fontTable.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.fontTable+xml"),
        ("/word/theme/theme1.xml", "application/vnd.openxmlformats-officedocument.theme+xml"),
        ("/customXml/itemProps1.xml", "application/vnd.openxmlformats-officedocument.customXmlProperties+xml"),
        ("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml"),
        ("/docProps/app.xml", "application/vnd.openxmlformats-officedocument.extended-properties+xml"),
    ]
    return (XML_HEAD + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
            '<Default Extension="png" ContentType="image/png"/>'
            '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
            '<Default Extension="xml" ContentType="application/xml"/>'
            + "".join(f'<Override PartName="{p}" ContentType="{t}"/>' for p, t in overrides)
            + '</Types>')


def core_xml():
    return (XML_HEAD +
            '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
            'xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:dcterms="http://purl.org/dc/terms/" '
            'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">'
            f'<dc:title>{TITLE}</dc:title><dc:subject>获取游戏目录</dc:subject>'
            '<dc:creator>汉化安装程序</dc:creator><dc:language>zh-CN</dc:language>'
            '<dcterms:created xsi:type="dcterms:W3CDTF">2020-08-30T12:40:00Z</dcterms:created>'
            '<dcterms:modified xsi:type="dcterms:W3CDTF">2020-08-30T12:40:00Z</dcterms:modified>'
            '</cp:coreProperties>')


def app_xml():
    return (XML_HEAD +
            '<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties">'
            '<Template>Normal.dotm</Template><Pages>2</Pages><Application>make_help_docx.py</Application>'
            '<DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop><Company></Company>'
            '<LinksUpToDate>false</LinksUpToDate><SharedDoc>false</SharedDoc>'
            '<HyperlinksChanged>false</HyperlinksChanged><AppVersion>16.0000</AppVersion></Properties>')


ITEM_ID = "{6B3C2A41-9D5E-4F20-8C17-3E0F5A9B7D12}"
BIBLIOGRAPHY = "http://schemas.openxmlformats.org/officeDocument/2006/bibliography"


def custom_xml_item():
    return (XML_HEAD + f'<b:Sources xmlns:b="{BIBLIOGRAPHY}" xmlns="{BIBLIOGRAPHY}" '
            'SelectedStyle="\\APASixthEditionOfficeOnline.xsl" StyleName="APA" Version="6"/>')


def custom_xml_props():
    return (XML_HEAD + '<ds:datastoreItem ds:itemID="' + ITEM_ID + '" '
            'xmlns:ds="http://schemas.openxmlformats.org/officeDocument/2006/customXml">'
            f'<ds:schemaRefs><ds:schemaRef ds:uri="{BIBLIOGRAPHY}"/></ds:schemaRefs></ds:datastoreItem>')


def package_parts():
    """[(entry name, bytes or None for a folder)] in archive order."""
    pictures = [draw() for draw in help_pictures.PICTURES]
    document_rels = [("rIdStyles", "styles", "styles.xml"), ("rIdSettings", "settings", "settings.xml"),
                     ("rIdWeb", "webSettings", "webSettings.xml"),
                     ("rIdFonts", "fontTable", "fontTable.xml"), ("rIdTheme", "theme", "theme/theme1.xml"),
                     ("rIdCustom", "customXml", "../customXml/item1.xml")]
    document_rels += [(f"rIdImage{i}", "image", f"media/image{i}.png") for i in (1, 2, 3)]
    text_parts = [
        ("[Content_Types].xml", content_types_xml()),
        ("_rels/", None),
        ("_rels/.rels", relationships([
            ("rId1", "officeDocument", "word/document.xml"),
            ("rId2", CORE_PROPERTIES, "docProps/core.xml"),
            ("rId3", "extended-properties", "docProps/app.xml")])),
        ("customXml/", None),
        ("customXml/_rels/", None),
        ("customXml/_rels/item1.xml.rels", relationships([("rId1", "customXmlProps", "itemProps1.xml")])),
        ("customXml/item1.xml", custom_xml_item()),
        ("customXml/itemProps1.xml", custom_xml_props()),
        ("docProps/", None),
        ("docProps/app.xml", app_xml()),
        ("docProps/core.xml", core_xml()),
        ("word/", None),
        ("word/_rels/", None),
        ("word/_rels/document.xml.rels", relationships(document_rels)),
        ("word/document.xml", document_xml()),
        ("word/fontTable.xml", font_table_xml()),
        ("word/media/", None),
    ]
    text_parts += [(f"word/media/image{i}.png", data) for i, data in enumerate(pictures, 1)]
    text_parts += [
        ("word/settings.xml", settings_xml()),
        ("word/styles.xml", styles_xml()),
        ("word/theme/", None),
        ("word/theme/theme1.xml", theme_xml()),
        ("word/webSettings.xml", web_settings_xml()),
    ]
    return [(n, d.encode("utf-8") if isinstance(d, str) else d) for n, d in text_parts]


def build(output):
    entries = []
    for name, data in package_parts():
        entry = zippack.Entry(name, data is None, None, (STAMP,) * 3)
        if data is not None:
            entry.data = data
        entries.append(entry)
    zippack.write_atomically(output, zippack.archive_bytes(entries))
    return entries


def main(argv=None):
    args = sys.argv[1:] if argv is None else argv
    output = args[0] if args else DEFAULT_OUTPUT
    print(zippack.summary(output, build(output)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
