"""News-like Vietnamese sentences, dense in numbers, dates, times, units,
currencies, phone numbers, addresses, acronyms and English words.

Sentences are built from templates with a seeded random generator, so every
run measures the same corpus.
"""

from __future__ import annotations

import random

_PLACES = ["Hà Nội", "TP.HCM", "Đà Nẵng", "Cần Thơ", "Hải Phòng", "Huế", "Nha Trang", "Vũng Tàu"]
_ORGS = ["UBND", "Bộ GD&ĐT", "WHO", "NASA", "VNPT", "EVN", "Vietcombank", "FPT", "Viettel", "BIDV"]
_PEOPLE = ["ông Nguyễn Văn An", "bà Trần Thị Bình", "PGS.TS Lê Minh", "anh Phạm Quốc Huy", "chị Hoàng Lan"]
_ENGLISH = ["startup", "smartphone", "livestream", "marketing", "AI", "cloud", "blockchain", "email", "online"]
_UNITS = ["km", "kg", "m2", "ha", "GB", "MW", "km/h", "m³", "ml", "°C"]
_CURRENCIES = ["USD", "VND", "đồng", "$", "€", "tỷ đồng"]
_DOMAINS = ["gmail.com", "yahoo.com", "outlook.com", "vnexpress.net", "fpt.edu.vn"]

_TEMPLATES = [
    "Ngày {d}/{m}/{y}, {org} công bố doanh thu quý {q} đạt {money} {cur}, tăng {pct}% so với cùng kỳ.",
    "Lúc {h}:{mi} sáng nay, {person} cho biết đã có {n} người tham gia sự kiện {en} tại {place}.",
    "Giá xăng RON 95 từ {h}h{mi} ngày {d}-{m} tăng {small},{dec} đồng/lít, lên {money}.000 đồng.",
    "Dự án dài {n} {unit}, vốn {money} {cur}, dự kiến hoàn thành trong {small}-{small2} năm.",
    "Liên hệ hotline {phone} hoặc email {user}@{domain} để được hỗ trợ {en} 24/7.",
    "Nhiệt độ cao nhất đạt {small}°C, độ ẩm {pct}%, lượng mưa {small},{dec} mm trong {small2} giờ.",
    "Truy cập https://www.{host}.vn/tin-tuc/{y}/{n}.html để xem chi tiết về {en} và {org}.",
    "Chỉ số VN-Index đóng cửa ở mức {money},{dec} điểm, thanh khoản đạt {big} cổ phiếu.",
    "Theo {org}, từ năm {y} đến năm {y2}, tỷ lệ hộ nghèo giảm từ {pct}% xuống {small},{dec}%.",
    "Trận đấu kết thúc với tỷ số {small}-{small2}, {person} ghi bàn ở phút thứ {n2}.",
    "Tháng {m}/{y}, {place} đón {big} lượt khách, doanh thu du lịch {money} {cur}.",
    "Phiên bản {small}.{small2}.{n2} của ứng dụng hỗ trợ {en}, dung lượng {n} MB.",
    "Tốc độ tối đa {n} km/h, công suất {n2} kW, giá bán từ {money} triệu đồng.",
    "Số điện thoại {phone} của {org} tại {place} hoạt động từ {h}:00 đến {h2}:30 hằng ngày.",
    "Thế kỷ XXI, {person} nhận định {en} sẽ thay đổi {pct}% việc làm trước năm {y2}.",
]


def _fill(rng: random.Random, template: str) -> str:
    values = {
        "d": rng.randint(1, 28), "m": rng.randint(1, 12), "y": rng.randint(1990, 2026),
        "y2": rng.randint(2027, 2050), "q": rng.choice(["I", "II", "III", "IV", "1", "2"]),
        "h": rng.randint(0, 11), "h2": rng.randint(12, 23), "mi": f"{rng.randint(0, 59):02d}",
        "n": rng.randint(10, 999), "n2": rng.randint(1, 90), "small": rng.randint(1, 9),
        "small2": rng.randint(1, 9), "dec": rng.randint(1, 99), "pct": rng.randint(1, 99),
        "money": f"{rng.randint(1, 999)}.{rng.randint(0, 999):03d}",
        "big": f"{rng.randint(1, 99)}.{rng.randint(0, 999):03d}.{rng.randint(0, 999):03d}",
        "cur": rng.choice(_CURRENCIES), "unit": rng.choice(_UNITS), "org": rng.choice(_ORGS),
        "person": rng.choice(_PEOPLE), "place": rng.choice(_PLACES), "en": rng.choice(_ENGLISH),
        "phone": f"09{rng.randint(0, 9)}{rng.randint(1000000, 9999999)}",
        "user": rng.choice(["lienhe", "hotro.khachhang", "info", "nguyen.an"]),
        "domain": rng.choice(_DOMAINS), "host": rng.choice(["vnexpress", "tuoitre", "baochinhphu"]),
    }
    return template.format(**values)


def sentences(count: int = 3000, seed: int = 2026) -> list[str]:
    rng = random.Random(seed)
    return [_fill(rng, rng.choice(_TEMPLATES)) for _ in range(count)]


if __name__ == "__main__":
    for line in sentences(20):
        print(line)
