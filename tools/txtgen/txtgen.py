#!/usr/bin/env python3
"""Writes the sample interpretation library (data/TXT_ST) from the phrase tables.

Usage: python3 tools/txtgen/txtgen.py [output folder, default data/TXT_ST]
Files are Windows-1251 with CR LF line ends; the folder is replaced whole.
"""
import pathlib
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

from phrases import (ANGLES, ASPECTS, CHART_KINDS, COMPOSITE_HOUSES, DECADE_PREP, DEGREE_MOTIFS,
                     ELEMENT_CONDITIONS, HEXAGRAMS, HOUSE_ADVICE, HOUSE_RELATIONS, HOUSES,
                     KING_WEN, MOON_DAY_COUNSEL, MOON_PHASES, OBJECTS, ORDINAL_GEN,
                     ORDINAL_PREP, SIGN_RULERS, SIGNS, SYNASTRY_HOUSES, TRIGRAMS,
                     TRANSIT_TEMPO)

ENCODING = "cp1251"
CRLF = "\r\n"
PLANETS = range(1, 12)          # Солнце ... Плутон in slot order
MOVING_SLOW = range(6, 12)      # Юпитер ... Плутон
MOVING_FAST = range(1, 6)       # Солнце ... Марс
ANGLE_CUSPS = (1, 10)
SOUTH_NODE = 14
NORTH_NODE = 13


def obj(slot):
    return OBJECTS[slot - 1]


def cap(text):
    return text[:1].upper() + text[1:]


def adjective_gen(stem, gender):
    """"натальн" -> "натального" / "натальной" to agree with a genitive noun."""
    return stem + ("ой" if gender == "f" else "ого")


def adjective_nom(stem, gender):
    """"транзитн" -> "транзитный" / "транзитная" / "транзитное"."""
    return stem + {"m": "ый", "f": "ая", "n": "ое"}[gender]


def cusp_title(n):
    special = {1: "Асцендент", 4: "IC", 7: "Десцендент", 10: "MC"}
    return special.get(n, f"Куспид {ORDINAL_GEN[n - 1]} дома")


def in_house(h):
    """"в пятом доме", "во втором доме"."""
    ordinal = ORDINAL_PREP[h - 1]
    return f"{'во' if ordinal == 'втором' else 'в'} {ordinal} доме"


def house_distance(a, b):
    d = (b - a) % 12
    return min(d, 12 - d)


# ---- keys, byte for byte as the program builds them -------------------------------

def key_cusp(n):
    return f"Куспид {n}-го Дома гороскопа"


def key_in_house(h):
    return f"в {h}-ом Доме гороскопа"


def key_ruler(n):
    return f"Управитель {n}-го Дома гороскопа"


def key_aspect(first, angle, second):
    return f"{first} + {angle} + {second}"


# ---- writing -----------------------------------------------------------------------

def to_bytes(text):
    assert "\r" not in text.replace(CRLF, ""), "stray CR"
    return text.replace(CRLF, "\n").replace("\n", CRLF).encode(ENCODING)


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(to_bytes(text))


def keyed_file(entries):
    keys = [k for k, _ in entries]
    assert len(keys) == len(set(keys)), "duplicate key"
    return "".join(f"#{key}{CRLF}{text}{CRLF}" for key, text in entries)


def write_section(root, kind, folder, title, files, by_planets=False):
    section = root / kind / folder
    write(section / "Name.thm", title)
    lines = ["BY PLANETS"] if by_planets else []
    for name, entries in files:
        write(section / name, keyed_file(entries))
        lines.append(f"{name}; ON")
    write(section / "List.fls", CRLF.join(lines) + CRLF)


# ---- compositions --------------------------------------------------------------------

def element_sentence(slot, sign):
    return f"{obj(slot)['bloom']}, {ELEMENT_CONDITIONS[sign['element']]}."


def planet_in_sign(slot, sign):
    o = obj(slot)
    return (f"{o['name']} в знаке {sign['gen']}: {o['theme']} проявляются {sign['manner']}. "
            f"Главное достоинство — {sign['gift']}; работать приходится с такими чертами, как "
            f"{sign['pitfall']}. {element_sentence(slot, sign)}")


def cusp_in_sign(n, sign):
    return (f"{cusp_title(n)} {sign['prep']}: в делах {HOUSES[n - 1]} человек действует "
            f"{sign['manner']}. Опора — {sign['gift']}, риск — {sign['pitfall']}.")


def planet_in_house(slot, h):
    o = obj(slot)
    return (f"{o['name']} {in_house(h)}: {o['theme']} направлены в область "
            f"{HOUSES[h - 1]}. {HOUSE_ADVICE[h - 1]} Особенно заметны темы {o['domain']}.")


def ruler_in_house(i, j):
    if i == j:
        return (f"Управитель {ORDINAL_GEN[i - 1]} дома в собственном доме: делами {HOUSES[i - 1]} "
                f"человек занимается сам, без посредников. {HOUSE_RELATIONS[0]}")
    return (f"Управитель {ORDINAL_GEN[i - 1]} дома {in_house(j)}: дела "
            f"{HOUSES[i - 1]} решаются через область {HOUSES[j - 1]}. "
            f"{HOUSE_RELATIONS[house_distance(i, j)]}")


def natal_advice(aspect, turn):
    return aspect["advice"][turn % len(aspect["advice"])]


def aspect_text(aspect, first_gen, second_gen, first_word, second_word, middle, tail=""):
    text = (f"{aspect['name']} {first_gen} и {second_gen}: {first_word} и {second_word} "
            f"{aspect['verb']}. {middle}")
    return text + (f" {tail}" if tail else "")


def natal_aspects():
    entries = []
    for a in PLANETS:
        for b in range(a + 1, 12):
            for k, asp in enumerate(ASPECTS):
                tail = f"Это заметно в вопросах {obj(a)['domain']}."
                entries.append((key_aspect(obj(a)["name"], asp["angle"], obj(b)["name"]),
                                aspect_text(asp, obj(a)["gen"], obj(b)["gen"], obj(a)["word"],
                                            obj(b)["word"], natal_advice(asp, a + b + k), tail)))
    return entries


def natal_angle_aspects():
    entries = []
    for a in PLANETS:
        for n in ANGLE_CUSPS:
            for k, asp in enumerate(ASPECTS):
                key = key_aspect(obj(a)["name"], asp["angle"], f"куспид {n}-го Дома гороскопа ")
                entries.append((key, aspect_text(asp, obj(a)["gen"], ANGLES[n]["gen"], obj(a)["word"],
                                                 ANGLES[n]["word"], natal_advice(asp, a + n + k))))
    return entries


def ruler_angle_aspects():
    entries = []
    for i in range(1, 13):
        for n in ANGLE_CUSPS:
            for k, asp in enumerate(ASPECTS):
                key = key_aspect(key_ruler(i) + " ", asp["angle"], f"куспид {n}-го Дома гороскопа ")
                entries.append((key, aspect_text(asp, f"управителя {ORDINAL_GEN[i - 1]} дома",
                                                 ANGLES[n]["gen"], f"дела {ORDINAL_GEN[i - 1]} дома",
                                                 ANGLES[n]["word"], natal_advice(asp, i + k))))
    return entries


def moving_aspects(moving, stem, tempo):
    """Aspects of a moving chart's planets (outer ring, named first) to the base chart."""
    entries = []
    partners = [(obj(s)["name"], obj(s)) for s in PLANETS] + [(a["name"], a) for a in ANGLES.values()]
    for m in moving:
        mover = obj(m)
        mover_gen = f"{adjective_gen(stem, mover['gender'])} {mover['gen']}"
        for name, natal in partners:
            natal_gen = f"{adjective_gen('натальн', natal['gender'])} {natal['gen']}"
            for asp in ASPECTS:
                if natal is mover:
                    text = (f"{asp['name']} {mover_gen} с собственным натальным положением: "
                            f"{mover['word']} {asp['self']}. {tempo(mover)}")
                else:
                    text = aspect_text(asp, mover_gen, natal_gen, mover["word"], natal["word"],
                                       asp["period"], tempo(mover))
                entries.append((key_aspect(mover["name"], asp["angle"], name), text))
    return entries


def transit_cusp_aspects():
    entries = []
    for n in ANGLE_CUSPS:
        angle = ANGLES[n]
        for s in PLANETS:
            natal_gen = f"{adjective_gen('натальн', obj(s)['gender'])} {obj(s)['gen']}"
            for asp in ASPECTS:
                key = key_aspect(key_cusp(n) + " ", asp["angle"], obj(s)["name"])
                entries.append((key, aspect_text(asp, f"{angle['gen']} текущей карты", natal_gen,
                                                 angle["word"], obj(s)["word"], asp["period"],
                                                 "Контакт короткий, но хорошо виден в событиях дня.")))
    return entries


def cusp_in_natal_house(i, j, chart):
    return (f"{cusp_title(i)} {chart} {in_house(j)} натала: темы {HOUSES[i - 1]} "
            f"сейчас разворачиваются через область {HOUSES[j - 1]}. "
            f"{HOUSE_RELATIONS[house_distance(i, j)]}")


def moving_in_natal_house(slot, h, label, span):
    o = obj(slot)
    return (f"{label(o)} {in_house(h)} натала: {o['theme']} затрагивают "
            f"область {HOUSES[h - 1]}. {HOUSE_ADVICE[h - 1]} {span}")


def partner_in_house(slot, h, person, chart, sentences):
    o = obj(slot)
    return (f"{o['name']} {person} партнёра {in_house(h)} {chart}: его {o['theme']} "
            f"затрагивают область {HOUSES[h - 1]}. {sentences[h - 1]}")


# ---- sections ------------------------------------------------------------------------

def all_pairs(keys, compose):
    return [(keys(a, b), compose(a, b)) for a in range(1, 17) for b in range(1, 13)]


def natal_section(root):
    files = [
        ("PL_ZS.TXT", [(f"{obj(s)['name']} -> {sign['name']}", planet_in_sign(s, sign))
                       for s in range(1, 17) for sign in SIGNS]),
        ("HS_ZS.TXT", [(f"{key_cusp(n)} -> {sign['name']}", cusp_in_sign(n, sign))
                       for n in range(1, 13) for sign in SIGNS]),
        ("PL_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} -> {key_in_house(h)}", planet_in_house)),
        ("RL_HS.TXT", [(f"{key_ruler(i)} -> {key_in_house(j)}", ruler_in_house(i, j))
                       for i in range(1, 13) for j in range(1, 13)]),
        ("PL_A_PL.TXT", natal_aspects()),
        ("PL_A_HS.TXT", natal_angle_aspects()),
        ("RL_A_HS.TXT", ruler_angle_aspects()),
    ]
    write_section(root, "NT", "Basics", "Основы натальной карты", files, by_planets=True)


def derived_sections(root):
    for kind, frame in CHART_KINDS.items():
        def sign_text(s, sign, frame=frame):
            o = obj(s)
            return (f"{frame['where']} {o['name']} {sign['prep']}: {o['theme']} проявляются "
                    f"{sign['manner']}, на первый план выходит {sign['gift']}. {frame['span']}")

        def house_text(s, h, frame=frame):
            o = obj(s)
            return (f"{frame['where']} {o['name']} {in_house(h)}: {o['theme']} "
                    f"направлены в область {HOUSES[h - 1]}. {frame['span']}")

        files = [
            ("PL_ZS.TXT", [(f"{obj(s)['name']} -> {sign['name']}", sign_text(s, sign))
                           for s in range(1, 17) for sign in SIGNS]),
            ("PL_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} -> {key_in_house(h)}", house_text)),
        ]
        write_section(root, kind, "Positions", frame["title"], files, by_planets=True)


def transit_natal_section(root):
    tempo = lambda mover: TRANSIT_TEMPO[mover["name"]]
    files = [
        ("PL_A_PL.TXT", moving_aspects(MOVING_SLOW, "транзитн", tempo)),
        ("HS_A_PL.TXT", transit_cusp_aspects()),
        ("PL_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} -> {key_in_house(h)}",
                                lambda s, h: moving_in_natal_house(
                                    s, h, lambda o: f"{adjective_nom('Транзитн', o['gender'])} {o['name']}",
                                    "Сильнее всего это ощущается, пока планета идёт по дому."))),
        ("HS_HS.TXT", [(f"{key_cusp(i)} -> {key_in_house(j)}", cusp_in_natal_house(i, j, "карты момента"))
                       for i in range(1, 13) for j in range(1, 13)]),
    ]
    write_section(root, "TR_NT", "Transits", "Транзиты к наталу", files, by_planets=True)


def returns_natal_sections(root):
    for kind, chart, title, span in (
            ("SOLAR_TN", "соляра", "Соляр в домах натала", "Тема действует весь год соляра."),
            ("LUNAR_TN", "лунара", "Лунар в домах натала", "Тема действует весь месяц лунара.")):
        label = lambda o, chart=chart: f"{o['name']} {chart}"
        files = [
            ("PL_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} -> {key_in_house(h)}",
                                    lambda s, h, label=label, span=span: moving_in_natal_house(s, h, label, span))),
            ("HS_HS.TXT", [(f"{key_cusp(i)} -> {key_in_house(j)}", cusp_in_natal_house(i, j, chart))
                           for i in range(1, 13) for j in range(1, 13)]),
        ]
        write_section(root, kind, "Houses", title, files, by_planets=True)


def directed_natal_sections(root):
    for kind, stem, title, span in (
            ("DR_NT", "дирекционн", "Дирекции к наталу",
             "Дирекция срабатывает в год точного аспекта и задаёт тему на несколько лет."),
            ("PR_NT", "прогрессивн", "Прогрессии к наталу",
             "Прогрессивный аспект созревает медленно и отмечает внутренний поворот жизни.")):
        files = [("PL_A_PL.TXT", moving_aspects(MOVING_FAST, stem, lambda mover, span=span: span))]
        write_section(root, kind, "Aspects", title, files, by_planets=True)


def synastry_section(root):
    def so(person, other):
        return lambda s, h: partner_in_house(s, h, person, other, SYNASTRY_HOUSES)
    files = [
        ("SO1_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} 1 -> {key_in_house(h)}.",
                                 so("первого", "второго"))),
        ("SO2_HS.TXT", all_pairs(lambda s, h: f"{obj(s)['name']} 2 -> {key_in_house(h)}.",
                                 so("второго", "первого"))),
    ]
    write_section(root, "NT_NT", "Synastry", "Синастрия: планеты в домах партнёра", files)


def composite_section(root):
    entries = []
    for person, word in (("1", "первого"), ("2", "второго")):
        entries += [(f"{obj(s)['name']} {person} -> в {h}-ом Доме композита",
                     partner_in_house(s, h, word, "композита", COMPOSITE_HOUSES))
                    for s in range(1, 17) for h in range(1, 13)]
    write_section(root, "COMP", "Houses", "Планеты партнёров в домах композита",
                  [("SO1_HS.TXT", entries)])


def degrees_section(root):
    entries = []
    for si, sign in enumerate(SIGNS):
        for d in range(1, 31):
            decade = (d - 1) // 10
            decade_sign = SIGNS[(si + 4 * decade) % 12]
            ruler = SIGN_RULERS[(si + 4 * decade) % 12]
            text = (f"Тема градуса — {DEGREE_MOTIFS[d - 1]} в сфере {sign['arena']}: действовать здесь "
                    f"лучше {sign['manner']}. ")
            if decade == 0:
                text += (f"Градус лежит в первой декаде, где природа знака самая чистая; управитель "
                         f"декады — {ruler}, хозяин знака.")
            else:
                text += (f"Градус лежит {DECADE_PREP[decade]} декаде знака, где к его природе примешиваются "
                         f"черты {decade_sign['gen']}: {decade_sign['gift']} (управитель декады — {ruler}).")
            if d == 1:
                text += " Начальный градус: качество знака только пробуждается и действует без полутонов."
            elif d == 30:
                text += (f" Последний градус собирает опыт знака и готовит переход к знаку "
                         f"{SIGNS[(si + 1) % 12]['gen']}.")
            entries.append((f"{d}-й градус {sign['gen']}", text))
    write_section(root, "Degrees", "Symbols", "Символы градусов", [("DEGREES.TXT", entries)])


def hexagram_trigrams():
    found = {}
    for upper, row in enumerate(KING_WEN):
        for lower, number in enumerate(row):
            found[number] = (lower, upper)
    assert sorted(found) == list(range(1, 65))
    return found


def iching_section(root):
    trigrams = hexagram_trigrams()
    entries = []
    for number in range(1, 65):
        name, counsel = HEXAGRAMS[number - 1]
        lower, upper = (TRIGRAMS[i] for i in trigrams[number])
        if lower == upper:
            picture = f"Обе триграммы — {lower[0]}: {lower[1]} и внутри, и снаружи."
        else:
            picture = f"Внизу {lower[0]}, вверху {upper[0]}: внутри {lower[1]}, снаружи {upper[1]}."
        entries.append((str(number), f"Гексаграмма {number}{CRLF}{name}{CRLF}{picture} {counsel}"))
    write_section(root, "IChing", "KingWen", "Гексаграммы И-Цзин", [("ICHING.TXT", entries)])


def moon_days_section(root):
    entries = []
    for day in range(1, 31):
        phase = next(text for last, text in MOON_PHASES if day <= last)
        entries.append((f"{day}-й лунный день", f"{phase} {MOON_DAY_COUNSEL[day - 1]}"))
    write_section(root, "Moon_Days", "Days", "Лунные дни", [("MOON_DAYS.TXT", entries)])


# ---- the horoscope report's files ----------------------------------------------------

def report_key(slot, sign, with_rahu=False):
    rahu = "(Раху) " if with_rahu and slot == NORTH_NODE else ""
    return f"{obj(slot)['name']} {rahu}{sign['prep']}"


def short_file():
    entries = [f"#{report_key(s, sign)} — {obj(s)['theme']}, проявленные {sign['manner']}{CRLF}"
               for s in range(1, 17) for sign in SIGNS]
    return "".join(entries) + "#"


def planet_paragraphs():
    paragraphs = []
    for s in range(1, 17):
        if s == SOUTH_NODE:
            continue
        o = obj(s)
        for sign in SIGNS:
            paragraphs.append(
                f"{report_key(s, sign, True)}. {cap(o['theme'])} проявляются {sign['manner']}. "
                f"Сильная сторона положения — {sign['gift']}, слабая — {sign['pitfall']}. "
                f"{element_sentence(s, sign)}")
    paragraphs.append(
        "Селена и Лилит в одном знаке. Светлая и тёмная стороны судьбы говорят об одной и той же "
        "сфере жизни: здесь человек чаще других стоит перед выбором между верным и лёгким путём. "
        "Каждый честный выбор укрепляет Селену и лишает Лилит власти.")
    return "".join(f"#{p}{CRLF}" for p in paragraphs) + "#"


# The report puts the two short characteristics before a paragraph and replaces "pl1"
# and "pl2" by nominative keys ("Солнце в Овне"), so the paragraphs use them only as
# subjects of a plural verb.
ASPECT_PARAGRAPHS = {
    "Соединение": [
        "образуют соединение: pl1 и pl2 действуют как один мотив, и ни одно из этих качеств не "
        "проявляется в отрыве от другого. Это главный узел характера, с которым человеку предстоит работать всю жизнь.",
        "тоже сходятся в соединении: pl1 и pl2 усиливают друг друга, и эта связка делает характер "
        "более цельным, но и менее гибким.",
        "образуют ещё одно соединение: pl1 и pl2 вместе добавляют характеру сосредоточенности.",
    ],
    "Секстиль": [
        "связаны секстилем: pl1 и pl2 дают друг другу возможности, которые раскрываются через общение, "
        "учёбу и помощь людей. Талант этого аспекта надо упражнять, сам по себе он дремлет.",
        "тоже в секстиле: pl1 и pl2 связаны удобным мостиком, которым стоит пользоваться сознательно.",
        "образуют ещё один секстиль: pl1 и pl2 поддерживают друг друга в повседневных делах.",
    ],
    "Квадратура": [
        "стоят в квадратуре: pl1 и pl2 спорят друг с другом, и это напряжение ощущается как внутренний "
        "конфликт или повторяющиеся трудности. Зато именно оно даёт силы для поступков и роста.",
        "снова в квадратуре: pl1 и pl2 мешают друг другу действовать привычно и требуют найти новый способ.",
        "образуют ещё одну квадратуру: pl1 и pl2 спорят, и этот спор закаляет характер, если не уходить от него.",
    ],
    "Тригон": [
        "связаны тригоном: pl1 и pl2 естественно помогают друг другу, и эта гармония ощущается как "
        "врождённая лёгкость. Её важно развивать, а не принимать как должное.",
        "тоже в тригоне: pl1 и pl2 дают человеку ещё одну сферу, где всё удаётся без борьбы.",
        "образуют ещё один тригон: pl1 и pl2 в согласии, и это согласие становится опорой в трудные времена.",
    ],
    "Оппозиция": [
        "противостоят друг другу в оппозиции: pl1 и pl2 тянут в разные стороны, и противоречие часто "
        "проживается через других людей. Задача в том, чтобы найти равновесие, а не выбрать одну сторону.",
        "снова в оппозиции: pl1 и pl2 учат человека договариваться с собой и с партнёрами.",
        "образуют ещё одну оппозицию: pl1 и pl2 раскачивают человека, как качели, и требуют чувства меры.",
    ],
}


def aspect_file():
    blocks = [f"#{n}. {name}.{CRLF}{texts[n - 1]}{CRLF}"
              for name, texts in ASPECT_PARAGRAPHS.items() for n in (1, 2, 3)]
    return "".join(blocks) + "#"


FRAMING = {
    "cup.txt": "ГОРОСКОП ЛИЧНОСТИ\r\n\r\nСоставлен программой «Кельвара» по положению планет на момент рождения.\r\n"
               "Это описание склонностей, а не приговор: каждое положение можно прожить на высоком "
               "или на низком уровне.",
    "REFREN.txt": "   ",
    "midl1.txt": "КРАТКАЯ ХАРАКТЕРИСТИКА\r\n\r\nКаждая планета отвечает за свою сторону личности, а знак "
                 "показывает, в каком стиле она действует:",
    "midl12.txt": "\r\nСледующие разделы раскрывают эти черты подробнее, от личных планет к общественным и кармическим.",
    "midl2.txt": "АСПЕКТЫ\r\n\r\nАспекты показывают, как стороны личности договариваются между собой: "
                 "соединение сливает их, секстиль и тригон помогают, квадратура и оппозиция требуют усилий.\r\n",
    "END.txt": "Гороскоп описывает возможности, а выбор остаётся за человеком. Перечитайте описание "
               "через некоторое время: то, что сейчас кажется чужим, может оказаться самым точным.\r\n",
}


def report_files(root):
    for name, text in FRAMING.items():
        write(root / name, text)
    write(root / "SHORT.txt", short_file())
    write(root / "Pl_Zz.txt", planet_paragraphs())
    write(root / "ASP.txt", aspect_file())


def check_report_keys(root):
    """Every report key occurs exactly once, so the program's substring search finds its own entry."""
    short = (root / "SHORT.txt").read_bytes().decode(ENCODING)
    paragraphs = (root / "Pl_Zz.txt").read_bytes().decode(ENCODING)
    for s in range(1, 17):
        for sign in SIGNS:
            assert short.count(report_key(s, sign)) == 1, report_key(s, sign)
            if s != SOUTH_NODE:
                assert paragraphs.count(report_key(s, sign, True)) == 1, report_key(s, sign, True)
    aspects = (root / "ASP.txt").read_bytes().decode(ENCODING)
    for name in ASPECT_PARAGRAPHS:
        for n in (1, 2, 3):
            assert aspects.count(f"{n}. {name}.") == 1


def main():
    here = pathlib.Path(__file__).resolve().parent
    root = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent.parent / "data" / "TXT_ST"
    readme = (root / "README").read_bytes() if (root / "README").exists() else None
    if root.exists():
        shutil.rmtree(root)
    root.mkdir(parents=True)
    if readme is not None:
        (root / "README").write_bytes(readme)
    report_files(root)
    natal_section(root)
    derived_sections(root)
    transit_natal_section(root)
    returns_natal_sections(root)
    directed_natal_sections(root)
    synastry_section(root)
    composite_section(root)
    degrees_section(root)
    iching_section(root)
    moon_days_section(root)
    check_report_keys(root)


if __name__ == "__main__":
    main()
