"""The WinHTTP client under Wine against loopback servers and tinyproxy."""
import hashlib
import os
import ssl
import subprocess
import threading

import pytest

from loopback import (Site, TinyProxy, cut_short, fail_first, never_answers, redirect, status,
                      with_length)

BODY = os.urandom(300_000)


@pytest.fixture
def probe(wine, programs):
    folder = wine.make_folder(r"C:\probe")
    (folder / "http_probe.exe").write_bytes((programs["fixtures"] / "http_probe.exe").read_bytes())

    def run(*args, timeout=90):
        result = wine.run(r"C:\probe\http_probe.exe", *args, timeout=timeout)
        assert not result.timed_out, result
        line = result.stdout.decode("utf-8", "replace").strip().splitlines()[-1]
        fields = dict(part.split("=", 1) for part in line.split(" error=")[0].split())
        fields["error"] = line.split(" error=", 1)[1] if " error=" in line else ""
        return fields
    run.folder = folder
    return run


def test_get_and_head_send_the_fixed_headers_and_stream_the_body(probe, tmp_path):
    (tmp_path / "data1.dat").write_bytes(BODY)
    with Site(tmp_path) as site:
        head = probe("head", site.url + "data1.dat")
        got = probe("get", site.url + "data1.dat", r"C:\probe\out.dat")
    assert head["ok"] == "1" and head["length"] == str(len(BODY))
    assert got["ok"] == "1" and got["received"] == str(len(BODY))
    assert (probe.folder / "out.dat").read_bytes() == BODY
    assert [m for m, _, _ in site.requests] == ["HEAD", "GET"]
    for _, _, headers in site.requests:
        assert headers["Accept"] == "text/html, */*"
        assert headers["User-Agent"] == "Mozilla/3.0 (compatible; Indy Library)"


@pytest.mark.parametrize("route,method,expect", [
    (cut_short(BODY, 1000), "get", "closed after 1000 of 300000 bytes"),
    (status(404, "Not Found"), "get", "HTTP/1.1 404 Not Found"),
    (status(500, "Internal Server Error"), "head", "HTTP/1.1 500 Internal Server Error"),
    (redirect("http://127.0.0.2:1/x.dat"), "get", "Redirect to another site refused: http://127.0.0.2:1/x.dat"),
    (redirect("https://127.0.0.1:1/x.dat"), "get", "Redirect to another site refused"),
], ids=["cut-short", "404", "500", "other-host", "other-port"])
def test_failures_carry_a_clear_text(probe, route, method, expect):
    with Site(routes={"/x.dat": route}) as site:
        args = ["head", site.url + "x.dat"] if method == "head" else ["get", site.url + "x.dat", r"C:\probe\x.dat"]
        result = probe(*args)
    assert result["ok"] == "0"
    assert expect in result["error"]


@pytest.mark.parametrize("length,expect", [(False, "-"), ("-5", "-"), ("99999999999", "99999999999"), ("12", "12")],
                         ids=["none", "negative", "huge", "exact"])
def test_content_length_reads_as_a_plain_number_or_not_at_all(probe, length, expect):
    with Site(routes={"/x.dat": with_length(b"x" * 12, length)}) as site:
        result = probe("head", site.url + "x.dat")
    assert result["length"] == expect, result


def test_redirect_on_the_same_site_is_followed(probe, tmp_path):
    (tmp_path / "real.dat").write_bytes(BODY[:5000])
    with Site(tmp_path, routes={"/moved.dat": redirect("/real.dat")}) as site:
        result = probe("get", site.url + "moved.dat", r"C:\probe\m.dat")
    assert result["ok"] == "1"
    assert (probe.folder / "m.dat").read_bytes() == BODY[:5000]


def test_a_server_that_never_answers_fails_with_the_time_out(probe):
    with Site(routes={"/x.dat": never_answers}) as site:
        result = probe("--timeout", "2000", "get", site.url + "x.dat", r"C:\probe\x.dat", timeout=60)
    assert result["ok"] == "0" and "timed out" in result["error"]
    assert float(result["seconds"]) < 20


def test_resume_and_retries(probe, tmp_path):
    (tmp_path / "data1.dat").write_bytes(BODY)
    (probe.folder / "part.dat").write_bytes(BODY[:100_000])
    with Site(tmp_path, routes={"/busy.dat": fail_first(2, lambda h, head: h.send_file(tmp_path / "data1.dat", head))}) as site:
        resumed = probe("--resume", "100000", "get", site.url + "data1.dat", r"C:\probe\part.dat")
        assert resumed["status"] == "206" and (probe.folder / "part.dat").read_bytes() == BODY
        assert site.requests[-1][2]["Range"] == "bytes=100000-"
        once = probe("--retries", "1", "get", site.url + "busy.dat", r"C:\probe\b.dat")
        assert once["ok"] == "0" and "503" in once["error"]
        twice = probe("--retries", "1", "get", site.url + "busy.dat", r"C:\probe\b.dat")
    assert twice["ok"] == "1" and (probe.folder / "b.dat").read_bytes() == BODY


def test_a_body_over_the_limit_is_refused(probe, tmp_path):
    (tmp_path / "download.inf").write_bytes(b"[A]\r\n" * 10_000)
    with Site(tmp_path) as site:
        result = probe("--max", "1000", "get", site.url + "download.inf", r"C:\probe\d.inf")
    assert result["ok"] == "0" and "longer than 1000 bytes" in result["error"]


def test_an_untrusted_certificate_is_a_failure(probe, tmp_path):
    key, cert = tmp_path / "key.pem", tmp_path / "cert.pem"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key), "-out",
                    str(cert), "-days", "2", "-subj", "/CN=127.0.0.1"], check=True, capture_output=True)
    (tmp_path / "data1.dat").write_bytes(BODY[:1000])
    with Site(tmp_path) as site:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        site.server.socket = context.wrap_socket(site.server.socket, server_side=True)
        result = probe("get", f"https://127.0.0.1:{site.port}/data1.dat", r"C:\probe\s.dat")
    assert result["ok"] == "0"
    assert "certificate" in result["error"] or "secure connection" in result["error"]
    assert not (probe.folder / "s.dat").exists()


def test_a_trusted_authority_s_site_is_reached_and_may_hand_on_to_https_elsewhere(wine, programs, probe, tmp_path):
    """A test authority trusted in this prefix only: the site on 127.0.0.1 hands the
    download on to https on 127.0.0.2 (a content network's move), which serves it; a
    move down to plain http is refused."""
    def openssl(*args):
        subprocess.run(["openssl", *map(str, args)], check=True, capture_output=True)
    ca_key, ca = tmp_path / "ca.key", tmp_path / "ca.pem"
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca, "-days", 2,
            "-subj", "/CN=Ostravel test authority", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("x509", "-in", ca, "-outform", "DER", "-out", probe.folder / "ca.der")
    (probe.folder / "trust_root.exe").write_bytes((programs["fixtures"] / "trust_root.exe").read_bytes())
    assert wine.run(r"C:\probe\trust_root.exe", r"C:\probe\ca.der").rc == 0

    def tls(site):
        """The site behind a certificate the authority gave its address (as the name:
        Wine matches only DNS names among the alternative ones)."""
        host = site.url.split("/")[2].split(":")[0]
        key, csr, cert = (tmp_path / f"{host}.{n}" for n in ("key", "req", "pem"))
        openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", f"/CN={host}")
        openssl("x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-CAcreateserial", "-out", cert, "-days", 2)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        site.server.socket = context.wrap_socket(site.server.socket, server_side=True)

    (tmp_path / "data1.dat").write_bytes(BODY[:5000])
    with Site(tmp_path, host="127.0.0.2") as cdn:
        elsewhere = f"127.0.0.2:{cdn.port}/data1.dat"
        with Site(tmp_path, routes={"/moved.dat": redirect("https://" + elsewhere),
                                    "/down.dat": redirect("http://" + elsewhere)}) as site:
            tls(cdn)
            tls(site)
            origin = f"https://127.0.0.1:{site.port}/"
            moved = probe("get", origin + "moved.dat", r"C:\probe\t.dat")
            down = probe("get", origin + "down.dat", r"C:\probe\d.dat")
    assert moved["ok"] == "1" and (probe.folder / "t.dat").read_bytes() == BODY[:5000], moved
    assert down["ok"] == "0" and "Redirect to another site refused" in down["error"], down


@pytest.mark.parametrize("password,ok", [("s3cret", True), ("wrong-pass", False)])
def test_proxy_with_basic_authentication(probe, tmp_path, password, ok):
    (tmp_path / "data1.dat").write_bytes(BODY)
    with Site(tmp_path) as site, TinyProxy(tmp_path / "proxy", "alice", "s3cret") as proxy:
        # Wine's WinHTTP needs a proxy name other than the target's host text.
        result = probe("--proxy", f"localhost:{proxy.port}", "--user", "alice", "--password", password,
                       "get", site.url + "data1.dat", r"C:\probe\p.dat")
    assert (result["ok"] == "1") == ok, result
    if ok:
        assert (probe.folder / "p.dat").read_bytes() == BODY
        assert any("tinyproxy" in h.get("Via", "") for _, _, h in site.requests)
    else:
        assert result["error"].startswith("HTTP/1.1 40") and password not in result["error"]
        assert not site.requests
