"""Text building blocks for the sample translation: Chinese vocabulary and exact-size files.

Every translation file is built from a stream of lines and then fitted to an exact byte
count: lines are taken while they fit, and one last line, whose key is chosen so that the
remaining bytes are a whole number of three-byte Chinese characters, fills the rest.
"""

# Sentences for descriptions and filler, all Chinese (three UTF-8 bytes per character).
SENTENCES = [
    "这是一件在末日世界中很常见的物品。", "在荒野中生存需要它。", "小心使用，数量有限。",
    "可以在军事基地附近找到。", "耐久度会随着使用而降低。", "适合在夜晚行动时携带。",
    "城镇里的商店偶尔会出售。", "它能帮助你抵御寒冷。", "背包中最好常备一份。",
    "据说幸存者营地里有很多。", "修理它需要一些废金属。", "在雨天效果会变差。",
    "丧尸会被它发出的声音吸引。", "用来建造安全的庇护所。", "与队友分享可以提高生存率。",
    "把它放在容易拿到的位置。", "森林深处的木屋里也许还有。", "它看起来已经用了很多年。",
    "保持安静，别惊动附近的丧尸。", "这里曾经是一座热闹的小镇。", "补给箱会从天空中落下。",
    "寒冬即将来临，请储备食物。", "河边的营地可以补充淡水。", "检查一下油箱再出发。",
    "远处传来了直升机的声音。", "夜晚的温度会迅速下降。", "请先完成之前的任务。",
    "感谢你的帮助，这些是你的报酬。", "我已经很久没有见到活人了。", "前面的桥已经被封锁了。",
]

# Keys for the last line of a file, grouped by their length modulo 3.
FIT_KEYS = {
    0: ["Effect", "Status", "Flavor", "Remark"],
    1: ["Hint", "Note", "Examine", "Tooltip"],
    2: ["Usage", "Subtitle", "Description"],
}
EOLS = {"lf": "\n", "crlf": "\r\n"}


# Short closing phrases, found by their length, for the last few characters of a text.
SHORT = ["当心", "别放弃", "注意安全", "祝你好运。", "一定要小心。", "天就要黑了。", "丧尸就在附近。",
         "记得带上武器。", "补给快要用完了。", "我们需要更多的弹药。", "前方道路已经被封锁。",
         "啊"]
SHORT_BY_LENGTH = {}
for _phrase in SHORT:
    SHORT_BY_LENGTH.setdefault(len(_phrase), _phrase)


def filler(rng, chars):
    """Exactly `chars` Chinese characters (punctuation included) made of whole sentences."""
    out = ""
    left = chars
    while left > 0:
        if left in SHORT_BY_LENGTH and (left < 10 or rng.random() < 0.3):
            out += SHORT_BY_LENGTH[left]
            break
        # A whole sentence that leaves either nothing or something a phrase can close.
        fits = [s for s in SENTENCES if len(s) == left or (len(s) < left and left - len(s) != 1)]
        sentence = rng.choice(fits)
        out += sentence
        left -= len(sentence)
    assert len(out) == chars
    return out


def fit_chars(value, chars, rng):
    """value cut or lengthened (with a comma and a sentence) to exactly `chars` characters."""
    if len(value) >= chars:
        return value[:chars]
    extra = chars - len(value)
    if value.endswith(("。", "！", "？")):
        return value + filler(rng, extra)
    if extra == 1:
        return value + "。"
    return value + "，" + filler(rng, extra - 1)


def utf8_len(text):
    return len(text.encode("utf-8"))


class DatFile:
    """A key/value ".dat" file: lines "key value", blank lines between groups.

    lines: the natural lines of the file ("" for a group break), eol: "\n" or "\r\n".
    A single-line file may end without a line end.
    """

    def __init__(self, lines, eol, rng_seed):
        self.lines = lines
        self.eol = eol
        self.seed = rng_seed

    def natural_size(self):
        if len(self.lines) == 1:
            return utf8_len(self.lines[0])
        return sum(utf8_len(l) + len(self.eol) for l in self.lines)

    def keys(self):
        return {line.partition(" ")[0] for line in self.lines}

    def render(self, size, rng):
        """The file's text, exactly `size` bytes in UTF-8 (size 0: the empty file)."""
        if size == 0:
            return b""
        if len(self.lines) == 1:
            return self._render_one_line(size, rng)
        eol = self.eol
        body = ""
        minimum_last = 12 + 3 * len(eol)
        for line in self.lines:
            piece = line + eol
            if utf8_len(body) + utf8_len(piece) + minimum_last > size:
                break
            body += piece
        remaining = size - utf8_len(body)
        used = {line.partition(" ")[0] for line in body.split(eol)}
        key = self._fit_key(remaining - 1 - len(eol), rng, used)
        chars = (remaining - len(key) - 1 - len(eol)) // 3
        text = body + key + " " + filler(rng, chars) + eol
        assert utf8_len(text) == size, (size, text)
        return text.encode("utf-8")

    def _render_one_line(self, size, rng):
        key, _, value = self.lines[0].partition(" ")
        rest = size - len(key) - 1
        if rest < 3:
            raise ValueError(f"{size} bytes cannot hold the line {self.lines[0]!r}")
        ending = ["", "\n", "\r\n"][rest % 3]
        chars = (rest - len(ending)) // 3
        text = key + " " + fit_chars(value, chars, rng) + ending
        assert utf8_len(text) == size
        return text.encode("utf-8")

    @staticmethod
    def _fit_key(room, rng, used):
        """A key not yet used whose length makes `room - len(key)` whole characters."""
        keys = [k for k in FIT_KEYS[(room) % 3] if room - len(k) >= 6 and k not in used]
        if not keys:
            raise ValueError(f"no room for a last line in {room} bytes")
        return rng.choice(keys)


def distribute(total, weights, minimum):
    """Integer sizes proportional to weights, each >= minimum, summing to total exactly."""
    scale = total / sum(weights)
    sizes = [max(minimum, int(w * scale)) for w in weights]
    i = 0
    while sum(sizes) != total:
        step = 1 if sum(sizes) < total else -1
        j = (i * 7919) % len(sizes)  # a prime stride spreads the corrections over all files
        if step > 0 or sizes[j] > minimum:
            sizes[j] += step
        i += 1
        if i > 10**7:
            raise ValueError("cannot distribute")
    return sizes
